#pragma once

#include <string>
#include <vector>

namespace loomscope {

class ConfigStore;
class IniFile;

// The designs opened last, newest first, kept in section "recent" of config.ini as file1 …
// file10. A path is stored as it is when it is UTF-8, else as a file URI (percent-encoded
// bytes), so a name from a Chinese Windows archive survives a text file.
inline constexpr std::size_t kMaxRecentDesigns = 10;

// The list as stored: entries that are not absolute paths, and repeats, are skipped, so a
// damaged section gives what can be used of it.
std::vector<std::string> readRecentDesigns(const IniFile& ini);
void writeRecentDesigns(IniFile& ini, const std::vector<std::string>& designs);

// `path` moved to the front, without repeats, at most kMaxRecentDesigns long.
std::vector<std::string> withRecentDesign(std::vector<std::string> designs,
                                          const std::string& path);
// The entries whose files are still there.
std::vector<std::string> existingDesigns(const std::vector<std::string>& designs);

// Keeps `designs` as the list in config.ini (written atomically, every other line kept; not
// written when the file holds that list already); what went wrong, or "".
std::string keepRecentDesigns(ConfigStore& config, const std::vector<std::string>& designs);

} // namespace loomscope
