// Makes the thread charts of data/charts: the polyester and rayon cards of libembroidery's CSV
// files (layout "name", #RRGGBB or 0xRRGGBB, code) turned into the program's ".tch" layout, and
// a chart of the default palette with codes LS1 … LS156.
//   make_charts CSV_FOLDER OUT_FOLDER
// The charts are committed; run this only to make them again.

#include "model/palette.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Thread {
    std::string code;
    std::string name;
    unsigned colour = 0; // 0xRRGGBB, red first as the CSV files write it
};

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> csvFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    for (auto& f : fields)
        f = trim(f);
    return fields;
}

bool readCsv(const std::string& path, std::size_t codeDigits, std::vector<Thread>& threads)
{
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (trim(line).empty() || number == 1) // the first line names the columns
            continue;
        const auto fields = csvFields(line);
        std::string hex = fields.size() == 3 ? fields[1] : std::string();
        if (hex.rfind("#", 0) == 0)
            hex.erase(0, 1);
        else if (hex.rfind("0x", 0) == 0 || hex.rfind("0X", 0) == 0)
            hex.erase(0, 2);
        std::size_t used = 0;
        unsigned long value = 0;
        try {
            value = std::stoul(hex, &used, 16);
        } catch (...) {
            used = 0;
        }
        if (hex.size() != 6 || used != 6 || fields[2].empty()) {
            std::fprintf(stderr, "%s:%d: not \"name\", colour, code: %s\n", path.c_str(), number,
                         line.c_str());
            return false;
        }
        // The source marks some codes with a C comment ("640 /* ... */"): the code is the
        // number before it. Makers that print their codes with a fixed number of digits
        // (Isacord: 0010, 0020) get them back: a shop searches for the code on the spool.
        std::string code = fields[2];
        if (const auto comment = code.find("/*"); comment != std::string::npos)
            code = trim(code.substr(0, comment));
        if (code.size() < codeDigits && code.find_first_not_of("0123456789") == std::string::npos)
            code.insert(0, codeDigits - code.size(), '0');
        threads.push_back({code, fields[0], static_cast<unsigned>(value)});
    }
    return true;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// code,"name",,,red,green,blue — UTF-8 with its byte-order mark, lines ending in CR LF.
bool writeChart(const std::string& path, const std::vector<Thread>& threads)
{
    std::ostringstream out;
    out << "\xEF\xBB\xBF";
    for (const Thread& t : threads) {
        const std::string code =
            t.code.find_first_of(",\"") == std::string::npos ? t.code : quoted(t.code);
        out << code << ',' << quoted(t.name) << ",,," << ((t.colour >> 16) & 0xFF) << ','
            << ((t.colour >> 8) & 0xFF) << ',' << (t.colour & 0xFF) << "\r\n";
    }
    std::ofstream file(path, std::ios::binary);
    file << out.str();
    if (!file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %zu threads\n", path.c_str(), threads.size());
    return true;
}

std::vector<Thread> paletteChart()
{
    struct Named {
        unsigned colour; // 0xRRGGBB
        const char* name;
    };
    static const Named names[] = {
        {0x00FF00, "Green"},     {0x0000FF, "Blue"},       {0xFF0000, "Red"},
        {0xFFFF00, "Yellow"},    {0x00FFFF, "Cyan"},       {0xFF00FF, "Magenta"},
        {0x33CC66, "Jade"},      {0xB47D33, "Ochre"},      {0x006633, "Forest Green"},
        {0xCC3366, "Raspberry"}, {0xFF9933, "Orange"},     {0x9900CC, "Purple"},
        {0x003399, "Navy"},      {0x0080FF, "Azure"},      {0x808040, "Olive"},
        {0xFF7ECC, "Pink"},      {0x7E7EFF, "Periwinkle"}, {0xCCCC33, "Citron"},
        {0xCC6633, "Rust"},      {0x66FFCC, "Aquamarine"},
    };
    std::vector<Thread> threads;
    for (int i = 0; i < loomscope::kPaletteSize; ++i) {
        const loomscope::TColor c = loomscope::paletteColor(i);
        const unsigned colour = static_cast<unsigned>(loomscope::redOf(c)) << 16 |
                                static_cast<unsigned>(loomscope::greenOf(c)) << 8 |
                                static_cast<unsigned>(loomscope::blueOf(c));
        std::string name;
        for (const Named& n : names)
            if (n.colour == colour)
                name = n.name;
        threads.push_back({"LS" + std::to_string(i + 1), name, colour});
    }
    return threads;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_charts CSV_FOLDER OUT_FOLDER\n");
        return 2;
    }
    const std::string from = std::string(argv[1]) + "/";
    const std::string to = std::string(argv[2]) + "/";
    const struct {
        const char* csv;
        const char* chart;
        std::size_t codeDigits;
    } cards[] = {
        {"hemingworth_polyester_colors.csv", "Hemingworth.tch", 0},
        {"isacord_polyester_colors.csv", "Isacord.tch", 4},
        {"sulky_rayon_colors.csv", "Sulky Rayon.tch", 0},
    };
    for (const auto& card : cards) {
        // As libembroidery's data folder names them, or with the prefix of the test corpus.
        std::string csv = from + card.csv;
        if (!std::ifstream(csv))
            csv = from + "libemb__" + card.csv;
        std::vector<Thread> threads;
        if (!readCsv(csv, card.codeDigits, threads) || !writeChart(to + card.chart, threads))
            return 1;
    }
    return writeChart(to + "LoomScope Default.tch", paletteChart()) ? 0 : 1;
}
