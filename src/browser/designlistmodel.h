#pragma once

#include "model/folderlist.h"
#include "model/tembs.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <vector>

namespace loomscope {

// One design of the browser's list: which file it is, its summary, the texts of its columns
// and its 100 x 100 thumbnail.
struct DesignRow {
    // The thumbnail kept packed: a shop's folder of twenty thousand designs would take most
    // of a gigabyte as pictures. The model unpacks those the views show.
    static QByteArray packThumbnail(const QImage& picture);

    DesignEntry entry;
    Tdstinfo info;
    QString name; // the file name less its last extension, as the user reads it
    QString inches;
    QString millimetres;
    QByteArray thumbnail; // packed (see packThumbnail)
    QString error;        // why the design could not be read; empty when it was
};

// The designs of the listed folder, in the folder list's order, with six columns: "Design
// Name" (with the thumbnail as its picture), "Stitches", "Colors", "Size(inch)", "Size(mm)",
// "Sequins". The large-icon view and the report view both show this one model.
class DesignListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        StitchesColumn,
        ColoursColumn,
        InchColumn,
        MillimetreColumn,
        SequinsColumn,
        ColumnCount
    };

    explicit DesignListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    // Appends the rows after the last one.
    void append(std::vector<DesignRow> rows);
    const DesignRow& row(int i) const { return rows_[static_cast<std::size_t>(i)]; }

    // The picture of row i, unpacked (what the views paint).
    QPixmap thumbnail(int i) const;

    // How many unpacked thumbnails are kept for painting: a few screens' worth.
    static constexpr int kUnpackedThumbnails = 600;

private:
    std::vector<DesignRow> rows_;
    mutable QCache<int, QPixmap> unpacked_{kUnpackedThumbnails};
};

} // namespace loomscope
