#pragma once

#include "colorsequencefile.h"
#include "fileio.h"
#include "tembs.h"

#include <optional>
#include <string>

namespace loomscope {

// The one way a design file is opened, with its side file, by every route: the view, the
// picture, the print window, the browser's rows, the price report and the command-line tools.
// Each route then follows one rule per outcome:
//
// - The design is read: it is shown, drawn, printed, priced or reported.
// - It cannot be read (no such file any more, no permission, not a regular file, too short,
//   too large, not a .dst name): nothing of it is shown, drawn, priced or written; the route
//   names the file and gives `reason`. The command-line tools exit with status 2.
// - Its side file is there but cannot be applied (cannot be read, or cut short): the design
//   keeps the palette colours and the route says why (a message in the window, a line on
//   standard error); the design is still shown, drawn or reported.
// - Its side file's names could not be converted (no code page 936 on the system): the
//   colours apply and the route says so, as above.
struct DesignLoad {
    DstReadStatus status = DstReadStatus::Read;
    std::string reason;                  // why the design could not be read; empty when read
    std::optional<std::string> sideFile; // the side file beside it, when there is one
    ColorFileResult sideFileResult;      // what applying it did (Ignored without one)

    bool read() const { return status == DstReadStatus::Read; }
    // What the user should be told about the side file; empty when nothing.
    const std::string& sideFileProblem() const { return sideFileResult.message; }
};

// How the side file is found: looked up beside the design (in any letter case), given by a
// caller that has listed the folder already, or not applied at all (the price report needs
// only the stitches).
enum class SideFiles { LookUp, Given, Ignore };

struct DesignLoadOptions {
    SideFiles sideFiles = SideFiles::LookUp;
    std::optional<std::string> givenSideFile; // for SideFiles::Given; nothing: there is none
    bool anyName = false; // read by content, whatever the name (a thumbnailer's temporary copy)
};

// Reads the design at `path` into `design` and, when it was read, applies its side file.
DesignLoad loadDesign(Tembs& design, const std::string& path,
                      const DesignLoadOptions& options = {});

// The records of a design file as DST bytes: a DST file as it is (refused when larger than
// `dstLimit`), any other format as the DST a converter would write of it, so that what reads
// DST records (the stitch-out replay) takes every format. A file that is no design of its
// format gives the reason as the error.
FileBytes designAsDstBytes(const std::string& path, std::size_t dstLimit);

} // namespace loomscope
