#pragma once

#include <optional>
#include <string>
#include <vector>

namespace loomscope {

// The designs of a folder by name: every file whose extension is ".dst" in any letter case,
// its name without the extension, in the order the folder lists them (no sorting).
std::vector<std::string> listDesignNames(const std::string& folder);

// Position of `name` in the list, compared without regard to letter case; -1 when absent.
int findDesignName(const std::vector<std::string>& names, const std::string& name);

// The name before or after `current`, without wrapping around. A name not in the list has
// no previous one, and the first entry as its next one.
std::optional<std::string> previousDesignName(const std::vector<std::string>& names,
                                              const std::string& current);
std::optional<std::string> nextDesignName(const std::vector<std::string>& names,
                                          const std::string& current);

} // namespace loomscope
