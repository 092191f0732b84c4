#pragma once

#include "model/colour.h"

#include <QList>
#include <QStringList>
#include <QTableWidget>
#include <optional>

namespace loomscope {

// A string grid of the colour panel: a fixed title row and a first column that shows the colour
// held in it (as decimal text) as a swatch. Rows are counted as the panel's logic counts them:
// row 0 is the title row, rows from 1 hold data, so row r is table row r − 1. Double-clicks and
// right-button releases anywhere over the grid are reported, as the panel acts on the current
// row whatever the pointer is over. Text cells beyond the first column are edited only by
// typing, so that a double-click stays free for assigning colours.
class SwatchGrid : public QTableWidget {
    Q_OBJECT
public:
    enum class RowNumbers { Shown, Hidden };

    SwatchGrid(const QList<int>& columnWidths, const QStringList& titles, RowNumbers numbers,
               QWidget* parent = nullptr);

    // Rows including the title row.
    int gridRowCount() const { return rowCount() + 1; }
    void setGridRowCount(int rows);
    // The current row, 0 when there is none.
    int currentGridRow() const;
    // Makes `row` current and scrolls it into view; rows outside 1 … gridRowCount() − 1 are
    // ignored.
    void selectGridRow(int row);

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);
    // The colour of a row, nothing when its first cell is empty.
    std::optional<TColor> swatchColour(int row) const;
    void setSwatch(int row, TColor colour, const QString& name);

    // Lets the user type into the text cells (never into the swatch column).
    void setTextEditable(bool editable);

    // What the grid needs to show its columns whole, with or without its vertical scroll bar.
    int columnsWidth() const;

signals:
    void gridDoubleClicked();
    void rightButtonReleased();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QTableWidgetItem* itemAt(int column, int row, bool create);

    QList<int> widths_;
    bool editableText_ = false;
};

} // namespace loomscope
