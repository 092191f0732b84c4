#include "designlistview.h"

#include "designlistmodel.h"
#include "thumbnaildrawing.h"

#include <QHeaderView>
#include <QListView>
#include <QTreeView>

namespace loomscope {

DesignListView::DesignListView(DesignListModel* model, QWidget* parent)
    : QStackedWidget(parent), icons_(new QListView(this)), report_(new QTreeView(this)),
      selection_(new QItemSelectionModel(model, this))
{
    const QSize thumbnail(kListThumbnailSize, kListThumbnailSize);
    icons_->setObjectName(QStringLiteral("ListView1Icons"));
    icons_->setViewMode(QListView::IconMode);
    icons_->setMovement(QListView::Static);
    icons_->setResizeMode(QListView::Adjust);
    icons_->setIconSize(thumbnail);
    // Room for the picture and two lines of name; every cell alike, so laying out a thousand
    // designs costs next to nothing.
    icons_->setGridSize(QSize(kListThumbnailSize + 34, kListThumbnailSize + 40));
    icons_->setUniformItemSizes(true);
    icons_->setWordWrap(true);
    icons_->setTextElideMode(Qt::ElideMiddle);
    icons_->setModel(model);
    setUpView(icons_);

    report_->setObjectName(QStringLiteral("ListView1Report"));
    report_->setRootIsDecorated(false);
    report_->setItemsExpandable(false);
    report_->setUniformRowHeights(true);
    report_->setAllColumnsShowFocus(true);
    report_->setIconSize(thumbnail);
    report_->setModel(model);
    report_->header()->setStretchLastSection(false);
    const int widths[] = {180, 80, 80, 130, 150, 60};
    for (int c = 0; c < DesignListModel::ColumnCount; ++c)
        report_->header()->resizeSection(c, widths[c]);
    setUpView(report_);

    addWidget(icons_);
    addWidget(report_);
    connect(selection_, &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList rows = selection_->selectedRows();
        if (!rows.isEmpty())
            emit rowSelected(rows.first().row());
    });
}

void DesignListView::setUpView(QAbstractItemView* view)
{
    view->setSelectionModel(selection_);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowDoubleClicked(index.row()); });
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](QPoint at) { emit menuRequested(view->viewport()->mapToGlobal(at)); });
}

void DesignListView::showLargeIcons()
{
    setCurrentWidget(icons_);
}

void DesignListView::showReport()
{
    setCurrentWidget(report_);
    report_->viewport()->update();
}

bool DesignListView::showsReport() const
{
    return currentWidget() == report_;
}

QAbstractItemView* DesignListView::currentView() const
{
    return static_cast<QAbstractItemView*>(currentWidget());
}

} // namespace loomscope
