#include "designlistmodel.h"

#include "session/pathstrings.h"

namespace loomscope {

DesignListModel::DesignListModel(QObject* parent) : QAbstractTableModel(parent) {}

int DesignListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DesignListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DesignListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto i = static_cast<std::size_t>(index.row());
    const DesignRow& r = rows_[i];
    if (role == Qt::DisplayRole && !r.error.isEmpty()) {
        // A design that could not be read has no facts: the row says why instead.
        if (index.column() == NameColumn)
            return r.name;
        if (index.column() == StitchesColumn)
            return r.error;
        return {};
    }
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case NameColumn:
            return r.name;
        case StitchesColumn:
            return QString::number(r.info.Fstitchcount);
        case ColoursColumn:
            return QString::number(r.info.Fcolorcount);
        case InchColumn:
            return r.inches;
        case MillimetreColumn:
            return r.millimetres;
        case SequinsColumn:
            return QString::number(r.info.lpcount);
        }
    }
    if (role == Qt::DecorationRole && index.column() == NameColumn)
        return pixmaps_[i];
    if (role == Qt::ToolTipRole && index.column() == NameColumn)
        return r.error.isEmpty() ? displayPath(r.entry.fileName) // the whole name, when cut
                                 : QStringLiteral("%1: cannot be read: %2")
                                       .arg(displayPath(r.entry.fileName), r.error);
    return {};
}

QVariant DesignListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const captions[ColumnCount] = {"Design Name", "Stitches", "Colors",
                                                      "Size(inch)",  "Size(mm)", "Sequins"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(captions[section])
                                                 : QVariant();
}

void DesignListModel::clear()
{
    if (rows_.empty())
        return;
    beginResetModel();
    rows_.clear();
    pixmaps_.clear();
    endResetModel();
}

void DesignListModel::append(std::vector<DesignRow> rows)
{
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (DesignRow& r : rows) {
        // Kept once, as the views paint it: a folder of thousands of designs holds thousands.
        pixmaps_.push_back(QPixmap::fromImage(std::move(r.thumbnail)));
        r.thumbnail = QImage();
        rows_.push_back(std::move(r));
    }
    endInsertRows();
}

} // namespace loomscope
