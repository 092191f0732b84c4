#pragma once

// The program as a citizen of the Linux desktop, for one user: DST files associated with it,
// its thumbnailer registered or removed, sibling plug-in programs started to register
// themselves. Everything is written below the user's XDG folders; after each change the
// desktop's databases are refreshed with update-mime-database and update-desktop-database
// when they are installed, also after a step failed. A step that fails stops the operation
// with a message naming the file; what was written before stays.

#include "desktopenvironment.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// An icon of the hicolor theme: its place below hicolor/ ("48x48/apps/loomscope.png").
struct IconFile {
    std::string relativePath;
    std::vector<std::uint8_t> bytes;
};

// Runs a desktop tool by name with arguments; its exit status, or nothing when the tool is
// not installed.
using ToolRunner = std::function<std::optional<int>(const std::vector<std::string>& argv)>;
// Looks the tool up in $PATH and runs it to its end.
std::optional<int> runInstalledTool(const std::vector<std::string>& argv);

struct IntegrationSetup {
    DesktopEnvironment environment;
    std::string programPath; // absolute path of the program the desktop is to start
    std::string programHome; // ends in '/'
    std::vector<IconFile> icons;
    ToolRunner runTool = runInstalledTool;
};

struct IntegrationOutcome {
    std::vector<std::string> errors;  // each one a message for the user
    std::vector<std::string> notices; // worth telling, not a failure
    bool ok() const { return errors.empty(); }
};

// The desktop entry, the MIME package, the icons, and the program as the default for DST
// files after the user's earlier choices for the type are removed. Running it again gives
// the same files.
IntegrationOutcome associateDstFiles(const IntegrationSetup& setup);

// The .thumbnailer entry (with the MIME package it needs), then the file managers' records
// of DST files that failed before are removed. Refused, with a message, when the program is
// missing or when the desktop's thumbnailer sandbox could never run it from where it lies.
IntegrationOutcome registerDstThumbnailer(const IntegrationSetup& setup);
// Removes the user's .thumbnailer entry; one installed for the whole system stays and is
// named in a notice.
IntegrationOutcome unregisterDstThumbnailer(const IntegrationSetup& setup);

// The other shell plug-ins are programs of their own beside this one: "loomscope-props" (a
// property page for DST files) and "loomscope-embthumb" (thumbnails of EMB files). They are
// started with --register or --unregister and do the rest themselves; nobody waits for them.
enum class SiblingPlugin { DstProperties, EmbThumbnails };
std::string siblingPluginName(SiblingPlugin plugin);
// Where the plug-in is: the program home first, then the program's own folder.
std::optional<std::string> findSiblingPlugin(const IntegrationSetup& setup, SiblingPlugin plugin);
// A missing plug-in gives its message; unregistering refreshes the databases all the same.
IntegrationOutcome registerSiblingPlugin(const IntegrationSetup& setup, SiblingPlugin plugin,
                                         bool install);

// Runs the two refresh tools on the user's folders; failures become messages.
void refreshDesktopDatabases(const IntegrationSetup& setup, IntegrationOutcome& outcome);

// The aliases of the DST type that no other installed MIME package defines as a type of its
// own: declaring one of those as our alias would fight with that package.
std::vector<std::string> harmlessAliases(const DesktopEnvironment& environment);

} // namespace loomscope
