#include "startpanel.h"

#include "drawing/programfonts.h"
#include "model/fileio.h"
#include "session/pathstrings.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace loomscope {

StartPanel::StartPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StartPanel"));
    setFont(overlayLabelFont());
    auto* column = new QVBoxLayout(this);
    column->addStretch(2);
    auto centred = [&](const QString& text, const char* name) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        column->addWidget(label);
        return label;
    };
    problem_ = centred(QString(), "StartProblem");
    problem_->hide();
    hint_ = centred(tr("打开版带：点下方的文件夹按钮，按 Ctrl+O，或把 DST 文件拖到这个窗口里"),
                    "StartHint");
    column->addSpacing(18);
    caption_ = centred(tr("最近打开的版带："), "StartRecentCaption");
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("StartRecent"));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->viewport()->setAutoFillBackground(false);
    list_->setAttribute(Qt::WA_TranslucentBackground);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    column->addWidget(list_, 0, Qt::AlignHCenter);
    column->addStretch(3);
    // A click opens, as Enter does on the entry with the focus.
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { choose(list_->row(item)); });
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { choose(list_->row(item)); });
    setInk(Qt::black);
}

void StartPanel::setDesigns(const std::vector<std::string>& designs)
{
    designs_ = designs;
    list_->clear();
    int widest = 0;
    for (const std::string& path : designs_) {
        // The file's name, then its folder, as the user reads them.
        const QString text = displayPath(fileNamePart(path)) + QStringLiteral("   —   ") +
                             displayPath(folderPart(path));
        auto* item = new QListWidgetItem(text, list_);
        item->setToolTip(displayPath(path));
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(text));
    }
    const bool any = !designs_.empty();
    caption_->setVisible(any);
    list_->setVisible(any);
    const int rows = static_cast<int>(designs_.size());
    list_->setFixedSize(std::min(widest + 24, std::max(width() - 20, 200)),
                        rows * (list_->sizeHintForRow(0) > 0 ? list_->sizeHintForRow(0) : 20) + 4);
    if (any)
        list_->setCurrentRow(0);
}

void StartPanel::setProblem(const QString& text)
{
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}

void StartPanel::setInk(const QColor& colour)
{
    ink_ = colour;
    const QString name = colour.name();
    for (QLabel* label : {problem_, hint_, caption_})
        label->setStyleSheet(QStringLiteral("color: %1;").arg(name));
    // The chosen entry is framed in the ink, never filled: what lies under it stays visible.
    list_->setStyleSheet(QStringLiteral("QListWidget { background: transparent; color: %1; }"
                                        "QListWidget::item { padding: 2px 8px; }"
                                        "QListWidget::item:selected { background: transparent; "
                                        "color: %1; border: 1px solid %1; }"
                                        "QListWidget::item:hover { text-decoration: underline; }")
                             .arg(name));
}

void StartPanel::choose(int row)
{
    if (row >= 0 && row < static_cast<int>(designs_.size()))
        emit designChosen(designs_[static_cast<std::size_t>(row)]);
}

} // namespace loomscope
