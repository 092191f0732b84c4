// Writes small seed inputs for the fuzz targets into the folder given.
#include "dstbuilder.h"
#include "model/colorsequencefile.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {
void write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& b, std::initializer_list<unsigned> values)
{
    for (const unsigned v : values)
        b.push_back(static_cast<std::uint8_t>(v));
}
void putText(Bytes& b, std::string_view text)
{
    b.insert(b.end(), text.begin(), text.end());
}
void putU32le(Bytes& b, std::uint32_t v)
{
    put(b, {v, v >> 8, v >> 16, v >> 24});
}
void putU32be(Bytes& b, std::uint32_t v)
{
    put(b, {v >> 24, v >> 16, v >> 8, v});
}
void putString16(Bytes& b, std::string_view text)
{
    put(b, {static_cast<unsigned>(text.size()) >> 8, static_cast<unsigned>(text.size())});
    putText(b, text);
}
// A VP3 block: its tag, its length, what it holds.
Bytes vp3Block(unsigned tag, const Bytes& content)
{
    Bytes b;
    put(b, {0, tag, 0});
    putU32be(b, static_cast<std::uint32_t>(content.size()));
    b.insert(b.end(), content.begin(), content.end());
    return b;
}

// A PEC block of two colours: a jump from the origin, short and long stitches, a trim, a
// colour change, the end.
Bytes pecBlock()
{
    Bytes b;
    putText(b, "LA:SEED            \r");
    b.resize(0x30, ' ');
    put(b, {1, 5, 20});
    b.resize(0x200, ' ');
    const Bytes records = {0x90, 0x64, 0x9F, 0xCE, 0x0A, 0x05, 0x81, 0x2C, 0x8F, 0x38, 0xA0, 0x14,
                           0xAF, 0xE2, 0x01, 0x01, 0xFE, 0xB0, 0x02, 0x05, 0x7B, 0xFF, 0x00};
    const auto length = static_cast<unsigned>(records.size() + 0x10);
    put(b, {0, 0, length, length >> 8, 0, 0x31, 0xFF, 0xF0, 0, 0, 0, 0, 0xE0, 1, 0xB0, 1});
    b.insert(b.end(), records.begin(), records.end());
    b.resize(b.size() + 6 * 38, 0);
    return b;
}

Bytes pesFile()
{
    // Version 6: five empty strings, the layout's gaps, no fills, two threads.
    Bytes header;
    put(header, {0, 0, '0', '1', 0, 0, 0, 0, 0});
    header.resize(header.size() + 36, 0);
    put(header, {0});
    header.resize(header.size() + 24, 0);
    put(header, {0, 0, 0, 0, 0, 0, 2, 0});
    for (const char* name : {"Red", "Black"}) {
        put(header, {3, '8', '0', '0', 0xED, 0x17, 0x1F, 0, 0x0A, 0, 0, 0});
        put(header, {static_cast<unsigned>(std::strlen(name))});
        putText(header, name);
        put(header, {5, 'S', 'E', 'E', 'D', 'S', 0});
    }
    Bytes b;
    putText(b, "#PES0060");
    putU32le(b, static_cast<std::uint32_t>(12 + header.size()));
    b.insert(b.end(), header.begin(), header.end());
    const Bytes block = pecBlock();
    b.insert(b.end(), block.begin(), block.end());
    return b;
}

// JEF and EXP records: stitches, a move, a colour change and (JEF) the end.
const Bytes kEscapeRecords = {10, 20, 0xF6, 0x7F, 0x80, 0x02, 30,   0xE2, 5,    5,    0x80,
                              1,  0,  0,    1,    1,    0x80, 0x04, 4,    4,    0x80, 0x80,
                              7,  0,  2,    2,    0x80, 0x01, 0,    0,    0x80, 0x10};

Bytes jefFile()
{
    Bytes b;
    putU32le(b, 0x74 + 8 * 2);
    putU32le(b, 20);
    putText(b, "20240101000000");
    put(b, {0, 0});
    putU32le(b, 2);
    putU32le(b, 12);
    b.resize(0x74, 0);
    for (const std::uint32_t v : {10u, 0u, 13u, 13u})
        putU32le(b, v);
    b.insert(b.end(), kEscapeRecords.begin(), kEscapeRecords.end());
    return b;
}

Bytes vp3File()
{
    Bytes stitches = {0x0A, 0xF6, 0x00, 10,   0xF6, 0x80, 0x01, 0x03, 0xE8,
                      0xF8, 0x30, 0x80, 0x02, 0x80, 0x03, 0xFF, 0x01};
    Bytes section;
    put(section, {0, 0, 0x01, 0xC2, 0xFF, 0xFF, 0xFE, 0x0C, 1, 0, 1, 2, 3, 0, 0, 0, 5, 40});
    putString16(section, "1176");
    putString16(section, "Baltic Blue");
    putString16(section, "Madeira");
    section.resize(section.size() + 8, 0);
    const Bytes stitchBlock = vp3Block(1, stitches);
    section.insert(section.end(), stitchBlock.begin(), stitchBlock.end());
    put(section, {0});
    const Bytes sectionBlock = vp3Block(5, section);

    Bytes design;
    put(design, {0, 0, 0x03, 0xE8, 0xFF, 0xFF, 0xF8, 0x30});
    design.resize(design.size() + 3 + 16 + 8, 0);
    putString16(design, "");
    put(design, {'d', 'd', 0, 0, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0});
    put(design, {'x', 'x', 'P', 'P', 1, 0});
    putString16(design, "");
    put(design, {0, 2});
    for (int k = 0; k < 2; ++k)
        design.insert(design.end(), sectionBlock.begin(), sectionBlock.end());

    Bytes file;
    putString16(file, "");
    file.resize(file.size() + 20, 0);
    put(file, {0, 2, 0x0C, 0, 1});
    const Bytes designBlock = vp3Block(3, design);
    file.insert(file.end(), designBlock.begin(), designBlock.end());

    Bytes b;
    putText(b, "%vsm%");
    put(b, {0});
    putString16(b, "");
    const Bytes fileBlock = vp3Block(2, file);
    b.insert(b.end(), fileBlock.begin(), fileBlock.end());
    return b;
}

Bytes xxxFile()
{
    const Bytes records = {10,   20,   0x7E, 0xE8, 0x03, 0x30, 0xF8, 0x7F, 0x01, 5, 5,
                           0x7F, 0x03, 0,    0,    1,    1,    0x7F, 0x08, 0,    0, 2,
                           2,    0x7F, 0x18, 0,    0,    0x7F, 0x7F, 3,    0x14, 0, 0};
    Bytes b(0x100, 0);
    b[0x27] = 2;
    const std::uint32_t end = 0x100 + static_cast<std::uint32_t>(records.size()) - 6;
    for (int i = 0; i < 4; ++i)
        b[0xFC + i] = static_cast<std::uint8_t>(end >> 8 * i);
    b.insert(b.end(), records.begin(), records.end());
    put(b, {0, 0xED, 0x17, 0x1F, 0, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF});
    return b;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::filesystem::path dir = argv[1];
    using loomscope::tools::DstBuilder;
    DstBuilder plain;
    plain.stitch(0, 0).stitchTo(200, 0).stitchTo(200, 150).jumpBy(-50, 30).stitch(0, 0).stitchTo(0,
                                                                                                 0);
    plain.colourChange().stitch(0, 0).stitchTo(80, -60).colourChange().colourChange().stitch(1, 1);
    write(dir / "dst" / "plain.dst", plain.machineFile());
    DstBuilder sequins;
    sequins.stitch(0, 0).sequinToggle().stitch(10, 0).jumpBy(20, 0).stitch(0, 0).jumpBy(20, 0);
    sequins.sequinToggle().stitch(5, 5).jumpBy(5, 5);
    write(dir / "dst" / "sequins.dst", sequins.fullyReadFile());
    write(dir / "dst" / "short.dst", std::vector<std::uint8_t>(523, 0));

    const std::vector<loomscope::TColor> colours = {0x0000FF, 0x00FF00, 0xFF0000};
    const std::vector<std::string> names = {"Red", "绿色", "Blue"};
    write(dir / "lsc" / "three.lsc", loomscope::encodeColorSequence("Madeira", colours, names));
    write(dir / "edr" / "three.edr", {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0});
    const std::string chart = "\xEF\xBB\xBF"
                              "1001,\"Red, deep\",,,255,0,0\r\n1002,Blue\n\n"
                              "S7,\"a \"\"b\"\"\",,, 1 ,-2,300\r";
    write(dir / "tch" / "chart.tch", {chart.begin(), chart.end()});
    const std::string gbk = "\xBA\xEC"
                            "1,,,,1,2,3\n";
    write(dir / "tch" / "gbk.tch", {gbk.begin(), gbk.end()});

    write(dir / "pes" / "v6.pes", pesFile());
    Bytes pec;
    putText(pec, "#PEC0001");
    const Bytes block = pecBlock();
    pec.insert(pec.end(), block.begin(), block.end());
    write(dir / "pec" / "two.pec", pec);
    write(dir / "jef" / "two.jef", jefFile());
    write(dir / "exp" / "every.exp", kEscapeRecords);
    write(dir / "vp3" / "two.vp3", vp3File());
    write(dir / "xxx" / "two.xxx", xxxFile());
    return 0;
}
