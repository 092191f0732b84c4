#include "desktopfiles.h"

#include "model/uitext.h"

namespace loomscope {

namespace {

// Whether the bytes are well-formed UTF-8 (desktop files are UTF-8 throughout).
bool isUtf8(const std::string& s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int follow = 0;
        if (c < 0x80)
            follow = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            follow = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            follow = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            follow = 3;
        else
            return false;
        if (i + std::size_t(follow) >= s.size() && follow > 0)
            return false;
        for (int k = 1; k <= follow; ++k)
            if ((static_cast<unsigned char>(s[i + std::size_t(k)]) & 0xC0) != 0x80)
                return false;
        i += std::size_t(follow) + 1;
    }
    return true;
}

// A plain string value (TryExec): only the backslash is special.
std::string stringValue(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::vector<std::string> dstMimeAliases()
{
    return {"application/x-dst", "application/x-embroidery-dst"};
}

std::vector<std::string> designMimeTypes()
{
    std::vector<std::string> types{kDstMimeType};
    for (const DesignMimeType& t : kOtherDesignTypes)
        types.emplace_back(t.type);
    return types;
}

namespace {
// "a;b;" as a desktop entry lists types.
std::string typeList()
{
    std::string list;
    for (const std::string& type : designMimeTypes())
        list += type + ';';
    return list;
}
} // namespace

std::string desktopProgramPath(const std::string& executableFolder)
{
    std::string folder = executableFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/loomscope";
}

std::string execPathProblem(const std::string& programPath)
{
    if (programPath.empty() || programPath.front() != '/')
        return fillText(uiText("DesktopIntegration", "程序路径不是绝对路径：%1"), {programPath});
    // A "%" passes the validator when doubled, but GLib (and so GNOME) refuses to load an
    // entry whose program path holds one: the association would report success and do nothing.
    if (!isUtf8(programPath) || programPath.find('%') != std::string::npos)
        return uiText("DesktopIntegration", "程序路径含有不能写进桌面文件的字符");
    for (char c : programPath)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return uiText("DesktopIntegration", "程序路径含有控制字符");
    return {};
}

std::string execProgramArgument(const std::string& programPath)
{
    // First the quoting of the Exec command line, then the escaping of a string value.
    std::string quoted = "\"";
    for (char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string out;
    for (char c : quoted) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '%')
            out += "%%";
        else
            out += c;
    }
    return out;
}

std::string desktopEntryText(const std::string& programPath)
{
    const std::string exec = execProgramArgument(programPath) + " %f";
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.4\n"
           "Name=LoomScope\n"
           "GenericName=Embroidery Design Viewer\n"
           "GenericName[zh_CN]=刺绣花样查看器\n"
           "Comment=View machine-embroidery designs (DST, PES, PEC, JEF, EXP, VP3, XXX)\n"
           "Comment[zh_CN]=查看 DST 格式的刺绣花样\n"
           "Icon=" +
           std::string(kApplicationIconName) +
           "\n"
           "TryExec=" +
           stringValue(programPath) +
           "\n"
           "Exec=" +
           exec +
           "\n"
           "Terminal=false\n"
           "MimeType=" +
           typeList() +
           "\n"
           "Categories=Graphics;Viewer;\n"
           "Keywords=embroidery;DST;PES;JEF;EXP;VP3;stitch;刺绣;\n"
           "Actions=Open;Preview;\n"
           "\n"
           "[Desktop Action Open]\n"
           "Name=Open\n"
           "Exec=" +
           exec +
           "\n"
           "\n"
           "[Desktop Action Preview]\n"
           "Name=Preview\n"
           "Exec=" +
           exec + "\n";
}

std::string mimePackageText(const std::vector<std::string>& aliases)
{
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"" +
        std::string(kDstMimeType) +
        "\">\n"
        "    <comment>DST embroidery file</comment>\n"
        "    <comment xml:lang=\"zh_CN\">dst刺绣文件</comment>\n"
        "    <icon name=\"" +
        std::string(kDesignFileIconName) +
        "\"/>\n"
        "    <glob pattern=\"*.dst\"/>\n"
        "    <magic priority=\"50\">\n"
        "      <match type=\"string\" offset=\"0\" value=\"LA:\">\n"
        "        <match type=\"string\" offset=\"20\" value=\"ST:\"/>\n"
        "      </match>\n"
        "    </magic>\n";
    for (const std::string& alias : aliases)
        text += "    <alias type=\"" + alias + "\"/>\n";
    text += "  </mime-type>\n";
    for (const DesignMimeType& t : kOtherDesignTypes) {
        text += "  <mime-type type=\"" + std::string(t.type) + "\">\n";
        text += "    <comment>" + std::string(t.comment) + "</comment>\n";
        text += "    <icon name=\"" + std::string(kDesignFileIconName) + "\"/>\n";
        text += "    <glob pattern=\"*." + std::string(t.extension) + "\"/>\n";
        if (t.signature)
            text += "    <magic priority=\"50\">\n"
                    "      <match type=\"string\" offset=\"0\" value=\"" +
                    std::string(t.signature) + "\"/>\n    </magic>\n";
        text += "  </mime-type>\n";
    }
    text += "</mime-info>\n";
    return text;
}

std::string thumbnailerText(const std::string& programPath)
{
    return "[Thumbnailer Entry]\n"
           "TryExec=" +
           stringValue(programPath) +
           "\n"
           "Exec=" +
           execProgramArgument(programPath) +
           " --thumbnail -s %s %i %o\n"
           "MimeType=" +
           typeList() + "\n";
}

} // namespace loomscope
