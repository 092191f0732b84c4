#pragma once

#include "model/folderlist.h"
#include "model/tembs.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <vector>

namespace loomscope {

// One design of the browser's list: which file it is, its summary, the texts of its columns
// and its 100 x 100 thumbnail.
struct DesignRow {
    DesignEntry entry;
    Tdstinfo info;
    QString name; // the file name less its last extension, as the user reads it
    QString inches;
    QString millimetres;
    QImage thumbnail; // handed over to the model, which keeps it as a pixmap
    QString error;    // why the design could not be read; empty when it was
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

private:
    std::vector<DesignRow> rows_;
    std::vector<QPixmap> pixmaps_; // the thumbnails as the views paint them
};

} // namespace loomscope
