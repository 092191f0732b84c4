#include "colourpanel.h"
#include "coloursequence.h"
#include "model/colorsequencefile.h"
#include "model/embirdcolors.h"
#include "model/fileio.h"
#include "session/mainstate.h"
#include "session/pathstrings.h"
#include "session/usermessages.h"
#include "swatchgrid.h"
#include "viewer/tloomscope.h"

#include <QComboBox>

// The colour panel's file commands: the sequence saved as the design's side file, and the
// colours of an Embird sequence file taken in.

namespace loomscope {

namespace {
// Embird files hold four bytes a colour; anything this large is not one.
constexpr std::size_t kMaxEmbirdBytes = std::size_t{64} << 20;
} // namespace

void ColourPanel::saveSequence()
{
    if (!state_.hasDesign() || viewer_->dstinfo().Fcolorcount <= 0) {
        messages_.information(this, tr("No design is shown: there is no colour "
                                       "sequence to save."));
        return;
    }
    const std::string design = state_.currentDesignPath();
    const std::string path = sideFileForWriting(design);
    if (fileExists(path) && !dialogs_.confirm(this, tr("文件对应的色序文件已存在，是否替换？")))
        return;
    // The question ran an event loop of its own: what is written is read only now, all of it
    // from the design that is shown now, and only when that is still the design asked about.
    if (state_.currentDesignPath() != design) {
        messages_.information(this, tr("Another design was opened meanwhile: the "
                                       "colour sequence was not saved."));
        return;
    }
    const int count = viewer_->dstinfo().Fcolorcount;
    std::vector<TColor> colours;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        colours.push_back(viewer_->readcolorlist(i));
        names.push_back(StringGrid2->cell(1, i + 1).toStdString());
    }
    const std::string error = writecolorfile(
        path, cardNameForSave(ComboBox1->currentText().toStdString()), colours, names);
    if (!error.empty()) {
        messages_.error(this, tr("Cannot create file \"%1\". %2")
                                  .arg(displayPath(path), QString::fromStdString(error)));
        return;
    }
    messages_.information(this, tr("色序文件已经保存在DST文档同一文件夹下，重新载入DST档便可"));
}

void ColourPanel::loadEmbirdColours()
{
    const QString chosen = dialogs_.chooseEmbirdFile(
        this, QFile::decodeName(QByteArray::fromStdString(state_.currentFolder())));
    if (chosen.isEmpty())
        return;
    // A name from a Chinese Windows archive is not text: the dialog shows it with marks, and
    // the file it stands for is found by how it shows.
    std::string path = existingPathBytes(chosen);
    if (path.empty())
        path = pathBytes(chosen);
    const FileBytes file = readWholeFile(path, kMaxEmbirdBytes);
    if (!file.error.empty()) {
        messages_.error(this, tr("Cannot open file \"%1\". %2")
                                  .arg(displayPath(path), QString::fromStdString(file.error)));
        return;
    }
    if (stale_)
        fillFromDesign();
    const int count = viewer_->dstinfo().Fcolorcount;
    const EmbirdSteps steps = embirdSteps(parseEmbirdColors(file.bytes), count);
    for (std::size_t i = 0; i < steps.colours.size(); ++i) {
        const int index = static_cast<int>(i);
        viewer_->setcolorlist(index, steps.colours[i]);
        viewer_->recolourBlocks(index, steps.colours[i]);
        setSequenceRow(index + 1, steps.colours[i], QString());
    }
    // The missing entry ends the operation, as a failed read does: the palette is rebuilt
    // only after a whole file.
    if (!steps.complete) {
        messages_.error(this, tr("Stream read error\n\n\"%1\" holds %2 colours; the "
                                 "design has %3.")
                                  .arg(displayPath(path))
                                  .arg(steps.colours.size())
                                  .arg(embirdStepCount(count)));
        return;
    }
    rebuildPalette();
}

} // namespace loomscope
