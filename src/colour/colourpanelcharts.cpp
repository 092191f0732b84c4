#include "chartsearch.h"
#include "colourpanel.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "swatchgrid.h"
#include "threadchart.h"
#include "viewer/tloomscope.h"
#include "widgets/colourswatch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

// The colour panel's thread-chart pane: the charts of the program home, searching one by code,
// matching the picked colour, and taking an entry into the palette.

namespace loomscope {

void ColourPanel::listCharts()
{
    // The chart chosen (or the name typed) before stays: it is the colour card the side file
    // gets.
    const QString previous = ComboBox1->currentText();
    listingCharts_ = true;
    ComboBox1->clear();
    for (const ChartFile& chart : listThreadCharts(pathBytes(programHome_)))
        ComboBox1->addItem(displayPath(chart.name), QByteArray::fromStdString(chart.path));
    const int kept = previous.isEmpty() ? -1 : ComboBox1->findText(previous);
    if (kept >= 0 || (previous.isEmpty() && ComboBox1->count() > 0))
        ComboBox1->setCurrentIndex(std::max(kept, 0));
    else
        ComboBox1->setEditText(previous); // a card name typed by the user, not a chart's
    listingCharts_ = false;
    if (ComboBox1->count() > 0)
        loadChart(ComboBox1->currentText());
}

void ColourPanel::loadChart(const QString& name)
{
    std::string path;
    const int listed = ComboBox1->findText(name);
    if (listed >= 0)
        path = ComboBox1->itemData(listed).toByteArray().toStdString();
    if (path.empty())
        path = findThreadChart(pathBytes(programHome_), pathBytes(name));
    if (path.empty())
        return; // not (yet) the name of a chart: the chart shown stays
    const ThreadChart loaded = loadThreadChart(path);
    threadlistex = loaded.entries;
    showChart(threadlistex);
    if (loaded.error.empty())
        return;
    if (loaded.errorLine > 0)
        messages_.error(this, QStringLiteral("%1\n\nThread chart \"%2\", line %3.")
                                  .arg(QString::fromStdString(loaded.error), displayPath(path))
                                  .arg(loaded.errorLine));
    else
        messages_.error(this, tr("Cannot open file \"%1\". %2")
                                  .arg(displayPath(path), QString::fromStdString(loaded.error)));
}

void ColourPanel::showChart(const std::vector<ChartEntry>& entries)
{
    // Filling the list is no choice of a row: the chart swatch stays as it is.
    const QSignalBlocker blocker(ValueListEditor1);
    ValueListEditor1->setUpdatesEnabled(false);
    ValueListEditor1->setCurrentCell(-1, -1);
    ValueListEditor1->setGridRowCount(static_cast<int>(entries.size()) + 1);
    for (std::size_t i = 0; i < entries.size(); ++i)
        ValueListEditor1->setSwatch(static_cast<int>(i) + 1, entries[i].colour,
                                    QString::fromStdString(entries[i].code));
    ValueListEditor1->scrollToTop();
    ValueListEditor1->setUpdatesEnabled(true);
}

void ColourPanel::findCode()
{
    showChart(loomscope::findCode(threadlistex, Edit1->text().toUpper().toStdString()));
}

void ColourPanel::match()
{
    if (threadlistex.empty())
        return;
    const auto ordering = static_cast<MatchOrdering>(MatchOrderingBox->currentData().toInt());
    const std::vector<ChartEntry> ordered = matchOrder(threadlistex, Panel10->colour(), ordering);
    showChart(ordered);
    Panel11->setColour(ordered.front().colour);
}

void ColourPanel::chartRowChosen()
{
    const int row = ValueListEditor1->currentGridRow();
    if (row < 1)
        return;
    if (const auto colour = ValueListEditor1->swatchColour(row))
        Panel11->setColour(*colour);
}

void ColourPanel::chartRowDoubleClicked()
{
    const int chartRow = ValueListEditor1->currentGridRow();
    const int paletteRow = StringGrid1->currentGridRow();
    if (chartRow < 1 || paletteRow < 1)
        return;
    if (const auto colour = ValueListEditor1->swatchColour(chartRow))
        StringGrid1->setSwatch(paletteRow, *colour, ValueListEditor1->cell(1, chartRow));
}

} // namespace loomscope
