#include "designlistmodel.h"

#include "session/pathstrings.h"

#include <QDataStream>
#include <cstring>

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
        return thumbnail(index.row());
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
    static const char* const captions[ColumnCount] = {
        QT_TR_NOOP("Design Name"), QT_TR_NOOP("Stitches"), QT_TR_NOOP("Colors"),
        QT_TR_NOOP("Size(inch)"),  QT_TR_NOOP("Size(mm)"), QT_TR_NOOP("Sequins")};
    return section >= 0 && section < ColumnCount ? tr(captions[section]) : QVariant();
}

QByteArray DesignRow::packThumbnail(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QByteArray packed;
    QDataStream out(&packed, QIODevice::WriteOnly);
    out << qint32(rgb.width()) << qint32(rgb.height());
    // A thumbnail is lines of a few colours on white: fast compression packs it to a tenth.
    QByteArray pixels(rgb.width() * rgb.height() * 4, Qt::Uninitialized);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(pixels.data() + y * rgb.width() * 4, rgb.constScanLine(y),
                    static_cast<std::size_t>(rgb.width()) * 4);
    out << qCompress(pixels, 1);
    return packed;
}

QPixmap DesignListModel::thumbnail(int i) const
{
    if (i < 0 || i >= rowCount())
        return {};
    if (const QPixmap* shown = unpacked_.object(i))
        return *shown;
    QDataStream in(rows_[static_cast<std::size_t>(i)].thumbnail);
    qint32 width = 0;
    qint32 height = 0;
    QByteArray packed;
    in >> width >> height >> packed;
    const QByteArray pixels = qUncompress(packed);
    if (width <= 0 || height <= 0 || pixels.size() != qsizetype(width) * height * 4)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.scanLine(y), pixels.constData() + y * width * 4,
                    static_cast<std::size_t>(width) * 4);
    auto* shown = new QPixmap(QPixmap::fromImage(std::move(picture)));
    const QPixmap copy = *shown;
    unpacked_.insert(i, shown);
    return copy;
}

void DesignListModel::clear()
{
    if (rows_.empty())
        return;
    beginResetModel();
    rows_.clear();
    unpacked_.clear();
    endResetModel();
}

void DesignListModel::append(std::vector<DesignRow> rows)
{
    if (rows.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (DesignRow& r : rows)
        rows_.push_back(std::move(r));
    endInsertRows();
}

} // namespace loomscope
