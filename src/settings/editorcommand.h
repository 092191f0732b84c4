#pragma once

// Opening the current design in the external design editor chosen in the settings. The editor
// is an executable file, or an installed application's desktop entry. It gets the design's
// ".emb" file when one stands beside the design (editors keep their own format there), else
// the ".dst" file itself, as one argument exactly as the file system names it; it is started
// without a shell and without added quotes, and is left running on its own.

#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// The file the editor gets for the design at `designPath`: "<name>.emb" with the extension
// in any letter case when it exists, else "<name>.dst" likewise (the design itself first);
// nothing when neither exists.
std::optional<std::string> editorTarget(const std::string& designPath);

// Whether the path names an editor that can be started: an executable file, or a desktop
// entry whose program is found.
bool isRunnableEditor(const std::string& editorPath);

// The command line that opens `target` in the editor; nothing when the editor cannot run.
std::optional<std::vector<std::string>> editorCommandLine(const std::string& editorPath,
                                                          const std::string& target);

enum class EditorStatus {
    Started,
    EditorMissing, // the settings must name an editor first
    NoDesignFile,  // neither an .emb nor a .dst file of the design exists: nothing to do
    Failed,        // the editor could not be started; `error` says why
};

struct EditorOutcome {
    EditorStatus status = EditorStatus::Started;
    std::string error;
};

// The whole command: checks the editor, chooses the file, starts the editor detached in the
// design's folder.
EditorOutcome openInExternalEditor(const std::string& editorPath, const std::string& designPath);

} // namespace loomscope
