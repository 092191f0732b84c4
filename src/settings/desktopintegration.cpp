#include "desktopintegration.h"

#include "desktopfiles.h"
#include "failedthumbnails.h"
#include "mimeappslist.h"
#include "model/codepage.h"
#include "model/fileio.h"
#include "model/uitext.h"
#include "session/processlaunch.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace loomscope {

namespace {

std::string shown(const std::string& path)
{
    return pathDisplayText(path);
}

// A folder's names in byte order, so every run lists them alike.
std::vector<std::string> sortedEntries(const std::string& folder)
{
    std::vector<std::string> names = folderEntries(folder);
    std::sort(names.begin(), names.end());
    return names;
}

// Writes a file unless it already holds exactly these bytes (then its time stays, and file
// managers watching the folder have nothing to reread). A link is followed, so that a
// mimeapps.list kept elsewhere by the user stays where it is.
bool writeStep(const std::string& path, const std::string& text, IntegrationOutcome& outcome)
{
    std::error_code ec;
    std::string target = path;
    if (fs::is_symlink(path, ec)) {
        const fs::path real = fs::weakly_canonical(path, ec);
        if (!ec)
            target = real.string();
    }
    const FileBytes old = readWholeFile(target, 16 << 20);
    if (old.error.empty() && std::string(old.bytes.begin(), old.bytes.end()) == text)
        return true;
    const std::string folder = fs::path(target).parent_path().string();
    fs::create_directories(folder, ec);
    if (ec) {
        outcome.errors.push_back(fillText(uiText("DesktopIntegration", "无法创建文件夹 %1：%2"),
                                          {shown(folder), ec.message()}));
        return false;
    }
    const std::string failed = writeFileAtomically(
        target, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    if (!failed.empty()) {
        outcome.errors.push_back(
            fillText(uiText("DesktopIntegration", "无法写入 %1：%2"), {shown(target), failed}));
        return false;
    }
    return true;
}

// The text of a file, "" when it does not exist; false (with a message) when it cannot be
// read, so that a file we cannot read is never replaced.
bool readStep(const std::string& path, std::string& text, IntegrationOutcome& outcome)
{
    text.clear();
    std::error_code ec;
    if (!fs::exists(path, ec))
        return true;
    const FileBytes file = readWholeFile(path, 16 << 20);
    if (!file.error.empty()) {
        outcome.errors.push_back(
            fillText(uiText("DesktopIntegration", "无法读取 %1：%2"), {shown(path), file.error}));
        return false;
    }
    text.assign(file.bytes.begin(), file.bytes.end());
    return true;
}

std::vector<std::string> dstTypes()
{
    std::vector<std::string> types = designMimeTypes();
    for (const std::string& alias : dstMimeAliases())
        types.push_back(alias);
    return types;
}

// Every mimeapps.list of the user in which an earlier choice can stand: the main one, the
// desktop-specific ones beside it ("gnome-mimeapps.list"), and the old place under
// applications/.
std::vector<std::string> userMimeAppsLists(const DesktopEnvironment& e)
{
    std::vector<std::string> lists = {e.configHome + "/mimeapps.list"};
    for (const std::string& folder : {e.configHome + "/", e.dataHome + "/applications/"})
        for (const std::string& name : sortedEntries(folder))
            if (name.size() > 14 && name.compare(name.size() - 14, 14, "-mimeapps.list") == 0)
                lists.push_back(folder + name);
    lists.push_back(e.dataHome + "/applications/mimeapps.list");
    return lists;
}

bool writeMimePackage(const IntegrationSetup& setup, IntegrationOutcome& outcome)
{
    return writeStep(setup.environment.dataHome + "/mime/packages/" + kMimePackageFileName,
                     mimePackageText(harmlessAliases(setup.environment)), outcome);
}

bool associate(const IntegrationSetup& setup, IntegrationOutcome& outcome)
{
    const DesktopEnvironment& e = setup.environment;
    if (const std::string problem = execPathProblem(setup.programPath); !problem.empty()) {
        outcome.errors.push_back(problem);
        return false;
    }
    // An entry naming a program that is not there would never start anything.
    if (!isExecutableFile(setup.programPath)) {
        outcome.errors.push_back(
            fillText(uiText("DesktopIntegration", "找不到程序 %1"), {shown(setup.programPath)}));
        return false;
    }
    if (!writeStep(e.dataHome + "/applications/" + kDesktopFileName,
                   desktopEntryText(setup.programPath), outcome))
        return false;
    if (!writeMimePackage(setup, outcome))
        return false;
    for (const IconFile& icon : setup.icons)
        if (!writeStep(e.dataHome + "/icons/hicolor/" + icon.relativePath,
                       std::string(icon.bytes.begin(), icon.bytes.end()), outcome))
            return false;
    for (const std::string& list : userMimeAppsLists(e)) {
        std::string text;
        if (!readStep(list, text, outcome))
            return false;
        const std::string cleaned = preferringProgram(text, dstTypes(), kDesktopFileName);
        if (cleaned != text && !writeStep(list, cleaned, outcome))
            return false;
    }
    const std::string main = e.configHome + "/mimeapps.list";
    std::string text;
    if (!readStep(main, text, outcome))
        return false;
    for (const std::string& type : designMimeTypes())
        text = withDefaultApplication(text, type, kDesktopFileName);
    return writeStep(main, text, outcome);
}

bool definesType(const std::string& xml, const std::string& type)
{
    for (const char quote : {'"', '\''}) {
        const std::string needle = std::string(1, quote) + type + quote;
        for (auto at = xml.find(needle); at != std::string::npos; at = xml.find(needle, at + 1)) {
            const auto open = xml.rfind('<', at);
            if (open == std::string::npos)
                continue;
            std::string tag = xml.substr(open, at - open);
            tag.erase(std::remove_if(tag.begin(), tag.end(),
                                     [](unsigned char c) { return std::isspace(c) != 0; }),
                      tag.end());
            if (tag == "<mime-typetype=")
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<int> runInstalledTool(const std::vector<std::string>& argv)
{
    if (argv.empty())
        return std::nullopt;
    const auto program = findProgram(argv.front());
    if (!program)
        return std::nullopt;
    std::vector<std::string> args = argv;
    args.front() = *program;
    return runAndWait(args);
}

std::vector<std::string> harmlessAliases(const DesktopEnvironment& e)
{
    std::vector<std::string> folders = {e.dataHome};
    folders.insert(folders.end(), e.dataDirs.begin(), e.dataDirs.end());
    std::vector<std::string> aliases;
    for (const std::string& alias : dstMimeAliases()) {
        bool taken = false;
        for (const std::string& folder : folders) {
            const std::string packages = folder + "/mime/packages/";
            for (const std::string& name : sortedEntries(packages)) {
                if (name == kMimePackageFileName)
                    continue;
                const FileBytes file = readWholeFile(packages + name, 64 << 20);
                if (file.error.empty() &&
                    definesType(std::string(file.bytes.begin(), file.bytes.end()), alias)) {
                    taken = true;
                    break;
                }
            }
            if (taken)
                break;
        }
        if (!taken)
            aliases.push_back(alias);
    }
    return aliases;
}

void refreshDesktopDatabases(const IntegrationSetup& setup, IntegrationOutcome& outcome)
{
    const std::string& data = setup.environment.dataHome;
    std::error_code ec;
    const std::pair<const char*, std::string> tools[] = {
        {"update-mime-database", data + "/mime"},
        {"update-desktop-database", data + "/applications"}};
    for (const auto& [tool, folder] : tools) {
        if (!fs::is_directory(folder, ec))
            continue;
        const auto status = setup.runTool({tool, folder});
        if (status && *status != 0)
            outcome.errors.push_back(
                fillText(uiText("DesktopIntegration", "%1 未能更新 %2（退出码 %3）"),
                         {tool, shown(folder), std::to_string(*status)}));
    }
}

IntegrationOutcome associateDstFiles(const IntegrationSetup& setup)
{
    IntegrationOutcome outcome;
    associate(setup, outcome);
    refreshDesktopDatabases(setup, outcome);
    return outcome;
}

IntegrationOutcome registerDstThumbnailer(const IntegrationSetup& setup)
{
    IntegrationOutcome outcome;
    if (!isExecutableFile(setup.programPath) || !execPathProblem(setup.programPath).empty()) {
        outcome.errors.push_back(uiText("DesktopIntegration", "没找到dst缩图插件"));
        return outcome;
    }
    if (desktopSandboxesThumbnailers(setup.environment.currentDesktop) &&
        !sandboxCanRun(setup.programPath)) {
        outcome.errors.push_back(fillText(
            uiText("DesktopIntegration",
                   "桌面的文件管理器只能在 /usr 之下运行缩略图程序，而本程序在 %1，"
                   "登记了也不会生成缩略图。请把 LoomScope 安装到系统（make install，默认装到 "
                   "/usr/local）后再注册。"),
            {shown(setup.programPath)}));
        return outcome;
    }
    if (writeMimePackage(setup, outcome) &&
        writeStep(setup.environment.dataHome + "/thumbnailers/" + kThumbnailerFileName,
                  thumbnailerText(setup.programPath), outcome)) {
        std::string error;
        clearFailedDstThumbnails(setup.environment.cacheHome, &error);
        if (!error.empty())
            outcome.errors.push_back(error);
    }
    refreshDesktopDatabases(setup, outcome);
    return outcome;
}

IntegrationOutcome unregisterDstThumbnailer(const IntegrationSetup& setup)
{
    IntegrationOutcome outcome;
    const std::string path = setup.environment.dataHome + "/thumbnailers/" + kThumbnailerFileName;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        outcome.errors.push_back(fillText(uiText("DesktopIntegration", "无法删除 %1：%2"),
                                          {shown(path), std::strerror(errno)}));
    for (const std::string& folder : setup.environment.dataDirs) {
        const std::string system = folder + "/thumbnailers/" + kThumbnailerFileName;
        if (fileExists(system)) {
            outcome.notices.push_back(fillText(
                uiText("DesktopIntegration", "系统安装的dst缩略图仍然有效：%1"), {shown(system)}));
            break;
        }
    }
    refreshDesktopDatabases(setup, outcome);
    return outcome;
}

std::string siblingPluginName(SiblingPlugin plugin)
{
    return plugin == SiblingPlugin::DstProperties ? "loomscope-props" : "loomscope-embthumb";
}

std::optional<std::string> findSiblingPlugin(const IntegrationSetup& setup, SiblingPlugin plugin)
{
    const std::string name = siblingPluginName(plugin);
    for (const std::string& folder : {setup.programHome, folderPart(setup.programPath)}) {
        if (folder.empty())
            continue;
        const std::string path = folder + (folder.back() == '/' ? "" : "/") + name;
        if (fileExists(path))
            return path;
    }
    return std::nullopt;
}

IntegrationOutcome registerSiblingPlugin(const IntegrationSetup& setup, SiblingPlugin plugin,
                                         bool install)
{
    IntegrationOutcome outcome;
    if (const auto path = findSiblingPlugin(setup, plugin)) {
        // Like any registration tool, the plug-in reports nothing back; only a program that
        // cannot be started at all is worth a word.
        const std::string failed = startDetached({*path, install ? "--register" : "--unregister"});
        if (!failed.empty())
            outcome.errors.push_back(
                fillText(uiText("DesktopIntegration", "无法启动 %1：%2"), {shown(*path), failed}));
    } else {
        outcome.errors.push_back(plugin == SiblingPlugin::DstProperties
                                     ? uiText("DesktopIntegration", "没找到dst属性页插件")
                                     : uiText("DesktopIntegration", "没找到emb缩图插件"));
    }
    if (!install)
        refreshDesktopDatabases(setup, outcome);
    return outcome;
}

} // namespace loomscope
