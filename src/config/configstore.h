#pragma once

#include "config/inifile.h"

#include <functional>
#include <string>

namespace loomscope {

// config.ini as the program holds it: read once at start, and handed to every window that
// keeps settings there. A window reads its section's typed values from `ini()` when it is
// shown, and saves through `change`, which writes the file atomically (read afresh first, so
// that a key changed by hand meanwhile is kept) and then keeps this copy in step with what
// was written.
class ConfigStore {
public:
    // `path` is the config.ini of the program home. A missing file is an empty one.
    explicit ConfigStore(std::string path);

    const std::string& path() const { return path_; }
    // The settings as read at start and as saved since.
    const IniFile& ini() const { return ini_; }
    // Why the file could not be read at start (it exists but is unreadable); else empty. Such
    // a file is never written over, so a later `change` reports the same failure.
    const std::string& readError() const { return readError_; }

    IniUpdate change(const std::function<void(IniFile&)>& change);

    // Reads the file again: for a test, or after another program was asked to change it.
    void reload();

private:
    std::string path_;
    IniFile ini_;
    std::string readError_;
};

} // namespace loomscope
