#include "editorcommand.h"

#include "desktopexec.h"
#include "model/codepage.h"
#include "model/embroideryformats.h"
#include "model/fileio.h"
#include "model/uitext.h"
#include "session/processlaunch.h"

#include <algorithm>

namespace loomscope {

namespace {

bool isDesktopEntry(const std::string& path)
{
    return asciiLowered(extensionOf(path)) == ".desktop";
}

std::optional<std::vector<std::string>> desktopEntryCommand(const std::string& entryPath,
                                                            const std::string& target)
{
    const FileBytes file = readWholeFile(entryPath, 1 << 20);
    if (!file.error.empty())
        return std::nullopt;
    const auto exec = desktopEntryExec(std::string(file.bytes.begin(), file.bytes.end()));
    if (!exec)
        return std::nullopt;
    return expandDesktopExec(*exec, target, entryPath);
}

} // namespace

std::optional<std::string> editorTarget(const std::string& designPath)
{
    const std::string folder = folderPart(designPath);
    const std::string name = withoutExtension(fileNamePart(designPath));
    if (name.empty())
        return std::nullopt;
    if (auto emb = findFileInAnyCase(folder, name + ".emb"))
        return emb;
    if (formatOfFileName(fileNamePart(designPath)) && fileExists(designPath))
        return designPath;
    return findFileInAnyCase(folder, name + ".dst");
}

bool isRunnableEditor(const std::string& editorPath)
{
    if (editorPath.empty() || !fileExists(editorPath))
        return false;
    if (isDesktopEntry(editorPath))
        return desktopEntryCommand(editorPath, "").has_value();
    return isExecutableFile(editorPath);
}

std::optional<std::vector<std::string>> editorCommandLine(const std::string& editorPath,
                                                          const std::string& target)
{
    if (!fileExists(editorPath))
        return std::nullopt;
    if (isDesktopEntry(editorPath))
        return desktopEntryCommand(editorPath, target);
    if (!isExecutableFile(editorPath))
        return std::nullopt;
    return std::vector<std::string>{editorPath, target};
}

EditorOutcome openInExternalEditor(const std::string& editorPath, const std::string& designPath)
{
    if (!isRunnableEditor(editorPath))
        return {EditorStatus::EditorMissing, {}};
    const auto target = editorTarget(designPath);
    if (!target)
        return {EditorStatus::NoDesignFile, {}};
    const auto command = editorCommandLine(editorPath, *target);
    if (!command)
        return {EditorStatus::EditorMissing, {}};
    const std::string failed = startDetached(*command, folderPart(*target));
    if (!failed.empty())
        return {EditorStatus::Failed, fillText(uiText("TForm4", "无法启动编辑软件 %1：%2"),
                                               {pathDisplayText(editorPath), failed})};
    return {EditorStatus::Started, {}};
}

} // namespace loomscope
