#pragma once

// The files by which a Linux desktop knows the program: its desktop entry (how to start it
// and which files it opens), the MIME package that makes ".dst" files (and the other design
// formats it reads) types of their own, and the thumbnailer entry that lets file managers
// ask the program for a design's picture.
// They are made here from the absolute path of the program, both for a per-user association
// and for installation.

#include <string>
#include <vector>

namespace loomscope {

inline constexpr const char* kDstMimeType = "application/x-tajima-dst";
inline constexpr const char* kDesktopFileName = "loomscope.desktop";
inline constexpr const char* kMimePackageFileName = "loomscope.xml";
inline constexpr const char* kThumbnailerFileName = "loomscope.thumbnailer";
inline constexpr const char* kApplicationIconName = "loomscope";
inline constexpr const char* kDesignFileIconName = "application-x-tajima-dst";

// Names other programs have given DST files; ours are declared as aliases of them.
std::vector<std::string> dstMimeAliases();

// The types of the other formats the program reads. shared-mime-info has none of them, so the
// package declares each: its glob (in any letter case), and the signature where the format
// has one.
struct DesignMimeType {
    const char* type;
    const char* extension; // without the dot
    const char* comment;
    const char* signature; // at offset 0; null for a format without one
};
inline constexpr DesignMimeType kOtherDesignTypes[] = {
    {"application/x-embroidery-pes", "pes", "PES embroidery file", "#PES"},
    {"application/x-embroidery-pec", "pec", "PEC embroidery file", "#PEC"},
    {"application/x-embroidery-jef", "jef", "JEF embroidery file", nullptr},
    {"application/x-embroidery-exp", "exp", "EXP embroidery file", nullptr},
    {"application/x-embroidery-vp3", "vp3", "VP3 embroidery file", "%vsm%"},
    {"application/x-embroidery-xxx", "xxx", "XXX embroidery file", nullptr},
};
// Every design type the program opens: DST's, then the others'.
std::vector<std::string> designMimeTypes();

// The program the desktop starts: the front program "loomscope" in the folder of this one.
std::string desktopProgramPath(const std::string& executableFolder);

// Why a program path cannot be written into an Exec line (not absolute, not UTF-8 text, or a
// control character in it); empty when it can.
std::string execPathProblem(const std::string& programPath);

// The program path as one Exec argument: in double quotes, with ", `, $ and \ escaped, and
// then escaped once more as a desktop-file string value (\ as \\, % as %%).
std::string execProgramArgument(const std::string& programPath);

// The desktop entry: Exec with the quoted program path and %f, the actions "Open" and
// "Preview", the DST type and the application icon.
std::string desktopEntryText(const std::string& programPath);

// The shared-mime-info package for DST files: glob "*.dst" in any letter case, the magic
// "LA:" at 0 with "ST:" at 20 that every DST header carries, the design-file icon and the
// given aliases.
std::string mimePackageText(const std::vector<std::string>& aliases);

// The freedesktop thumbnailer entry: the program's --thumbnail mode for the DST type.
std::string thumbnailerText(const std::string& programPath);

} // namespace loomscope
