// Reading PES, PEC, JEF, EXP, VP3 and XXX files into commands, the facts counted from them, and
// the DST bytes made of them. Every file here is built byte by byte from the formats' layouts:
// the builders encode design moves (y upwards) the way each format stores them.
#include "drawnalike.h"
#include "model/dstrecords.h"
#include "model/embroideryformats.h"
#include "model/tembs.h"

#include <functional>
#include <gtest/gtest.h>

using namespace loomscope;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Appends numbers and texts in either byte order.
class ByteWriter {
public:
    ByteWriter& u8(unsigned v)
    {
        bytes.push_back(static_cast<std::uint8_t>(v));
        return *this;
    }
    ByteWriter& u16le(unsigned v) { return u8(v).u8(v >> 8); }
    ByteWriter& u16be(unsigned v) { return u8(v >> 8).u8(v); }
    ByteWriter& u32le(std::uint32_t v) { return u16le(v & 0xFFFF).u16le(v >> 16); }
    ByteWriter& u32be(std::uint32_t v) { return u16be(v >> 16).u16be(v & 0xFFFF); }
    ByteWriter& i32be(std::int32_t v) { return u32be(static_cast<std::uint32_t>(v)); }
    ByteWriter& i32le(std::int32_t v) { return u32le(static_cast<std::uint32_t>(v)); }
    ByteWriter& text(std::string_view s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    ByteWriter& fill(std::size_t n, std::uint8_t b = 0)
    {
        bytes.insert(bytes.end(), n, b);
        return *this;
    }
    ByteWriter& fillTo(std::size_t size, std::uint8_t b)
    {
        return fill(size > bytes.size() ? size - bytes.size() : 0, b);
    }
    ByteWriter& append(const Bytes& more)
    {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    Bytes bytes;
};

// The commands a reader should give, from moves: each command moved by (dx, dy) from the one
// before, or staying where it is.
class Expected {
public:
    Expected& move(StitchKind kind, int dx, int dy)
    {
        x_ += dx;
        y_ += dy;
        commands.push_back({kind, x_, y_});
        return *this;
    }
    Expected& at(StitchKind kind, int x, int y)
    {
        x_ = x;
        y_ = y;
        return move(kind, 0, 0);
    }
    Expected& stitch(int dx, int dy) { return move(StitchKind::Stitch, dx, dy); }
    Expected& jump(int dx, int dy) { return move(StitchKind::Jump, dx, dy); }
    Expected& trim() { return move(StitchKind::Trim, 0, 0); }
    Expected& change() { return move(StitchKind::ColourChange, 0, 0); }
    Expected& end() { return move(StitchKind::End, 0, 0); }
    std::vector<DesignCommand> commands;

private:
    std::int32_t x_ = 0;
    std::int32_t y_ = 0;
};

std::string describe(const std::vector<DesignCommand>& commands)
{
    static const char* kinds[] = {"S", "J", "T", "C", "E"};
    std::string text;
    for (const DesignCommand& c : commands)
        text += std::string(kinds[static_cast<int>(c.kind)]) + "(" + std::to_string(c.x) + "," +
                std::to_string(c.y) + ") ";
    return text;
}

DesignThread thread(TColor colour, std::string name = {}, std::string code = {},
                    std::string brand = {})
{
    return {colour, std::move(name), std::move(code), std::move(brand)};
}

const DesignThread kNoColour{};

// ---- PEC and PES ----------------------------------------------------------------------------

// PEC records: x then y, each in 7 bits or in 12 bits with flags; the file's y grows downwards.
class PecRecords {
public:
    // Short coordinates where both fit, else long ones without flags (still a stitch).
    PecRecords& stitch(int dx, int dy)
    {
        if (dx >= -64 && dx < 64 && dy >= -64 && dy < 64)
            return shortValue(dx).shortValue(-dy);
        return longValue(dx, 0).longValue(-dy, 0);
    }
    PecRecords& jump(int dx, int dy) { return longValue(dx, 0x10).longValue(-dy, 0x10); }
    PecRecords& trim(int dx, int dy) { return longValue(dx, 0x20).longValue(-dy, 0x20); }
    // One short and one long coordinate; the long one carries the flag.
    PecRecords& shortXLongY(int dx, int dy, std::uint8_t flag)
    {
        return shortValue(dx).longValue(-dy, flag);
    }
    PecRecords& change()
    {
        w_.u8(0xFE).u8(0xB0).u8(changes_++ % 2 ? 1 : 2);
        return *this;
    }
    PecRecords& end()
    {
        w_.u8(0xFF).u8(0x00);
        return *this;
    }
    const Bytes& bytes() const { return w_.bytes; }

private:
    PecRecords& shortValue(int v)
    {
        w_.u8(static_cast<unsigned>(v) & 0x7F);
        return *this;
    }
    PecRecords& longValue(int v, std::uint8_t flags)
    {
        const unsigned u = static_cast<unsigned>(v) & 0xFFF;
        w_.u8(0x80 | flags | u >> 8).u8(u & 0xFF);
        return *this;
    }
    ByteWriter w_;
    int changes_ = 0;
};

// A PEC block: the 512-byte header with the palette indices, the stitch header, the records
// and one icon. `length` replaces the stitch section length the header gives.
Bytes pecBlock(const Bytes& palette, const Bytes& records,
               std::optional<std::uint32_t> length = std::nullopt)
{
    ByteWriter w;
    w.text("LA:").text("TEST            ").u8(0x0D).fill(12, ' ');
    w.u8(0xFF).u8(0x00).u8(6).u8(38).fill(12, ' ');
    w.u8(palette.empty() ? 0xFF : static_cast<unsigned>(palette.size() - 1)).append(palette);
    w.fillTo(0x200, ' ');
    const std::uint32_t n = length.value_or(static_cast<std::uint32_t>(records.size() + 0x10));
    w.u16le(0).u8(n).u8(n >> 8).u8(n >> 16).u8(0x31).u8(0xFF).u8(0xF0);
    w.u16le(0).u16le(0).u16le(0x1E0).u16le(0x1B0);
    w.append(records).fill(6 * 38, 0);
    return w.bytes;
}

Bytes pecFile(const Bytes& palette, const Bytes& records)
{
    return ByteWriter().text("#PEC0001").append(pecBlock(palette, records)).bytes;
}

// A PES file: signature, the PEC block's offset, the header bytes given, the PEC block.
Bytes pesFile(std::string_view version, const Bytes& header, const Bytes& block)
{
    ByteWriter w;
    w.text("#PES").text(version).u32le(static_cast<std::uint32_t>(12 + header.size()));
    return w.append(header).append(block).bytes;
}

struct PesThread {
    std::string code;
    std::uint8_t r, g, b;
    std::string name;
    std::string brand;
};

ByteWriter& shortString(ByteWriter& w, std::string_view s)
{
    return w.u8(static_cast<unsigned>(s.size())).text(s);
}

// The bytes between the five strings and the thread list, by version: skipped bytes before a
// hoop name (versions 9 and 10 only), before the picture file name and after it.
struct PesLayout {
    std::string version;
    std::size_t beforeHoop, beforePicture, afterPicture;
};
const PesLayout kVersion6{"0060", 0, 36, 24};

// A PES header of version 5 or later: the five strings, the layout's gaps, the fill, motif and
// feather counts, and the threads.
Bytes pesHeader(const PesLayout& layout, const std::vector<PesThread>& threads,
                std::optional<unsigned> count = std::nullopt, unsigned fills = 0)
{
    ByteWriter w;
    w.u16le(1).text("02");
    for (const char* s : {"design", "", "me", "", ""})
        shortString(w, s);
    if (layout.beforeHoop) {
        w.fill(layout.beforeHoop, 0x11);
        shortString(w, "hoop");
    }
    w.fill(layout.beforePicture, 0x22);
    shortString(w, "picture.png");
    w.fill(layout.afterPicture, 0x33);
    w.u16le(fills).u16le(0).u16le(0).u16le(count.value_or(static_cast<unsigned>(threads.size())));
    for (const PesThread& t : threads) {
        shortString(w, t.code).u8(t.r).u8(t.g).u8(t.b).u8(0).u32le(0x0A);
        shortString(w, t.name);
        shortString(w, t.brand);
        shortString(w, "");
    }
    w.text("CEmbOne").fill(20, 0); // what follows the list in real files
    return w.bytes;
}

// ---- JEF and EXP ----------------------------------------------------------------------------

// Two-byte stitches with 0x80 escapes; JEF and EXP store y upwards as designs do.
class EscapeRecords {
public:
    EscapeRecords& stitch(int dx, int dy)
    {
        w_.u8(static_cast<unsigned>(dx)).u8(static_cast<unsigned>(dy));
        return *this;
    }
    EscapeRecords& escape(std::uint8_t code, int dx = 0, int dy = 0)
    {
        w_.u8(0x80).u8(code).u8(static_cast<unsigned>(dx)).u8(static_cast<unsigned>(dy));
        return *this;
    }
    EscapeRecords& raw(std::initializer_list<std::uint8_t> b)
    {
        w_.bytes.insert(w_.bytes.end(), b);
        return *this;
    }
    const Bytes& bytes() const { return w_.bytes; }

private:
    ByteWriter w_;
};

// A JEF file: header, thread indices and types, then the records. `stitchOffset` and `count`
// replace the values the header should give.
Bytes jefFile(const std::vector<std::int32_t>& indices, const Bytes& records,
              std::optional<std::uint32_t> stitchOffset = std::nullopt,
              std::optional<std::uint32_t> count = std::nullopt)
{
    const auto n = static_cast<std::uint32_t>(indices.size());
    ByteWriter w;
    w.u32le(stitchOffset.value_or(0x74 + 8 * n)).u32le(20).text("20240102030405").u16le(0);
    w.u32le(count.value_or(n)).u32le(static_cast<std::uint32_t>(records.size() / 2)).i32le(0);
    for (int i = 0; i < 4; ++i)
        w.i32le(500);
    for (int i = 0; i < 16; ++i)
        w.i32le(-1);
    for (const std::int32_t index : indices)
        w.i32le(index);
    for (std::uint32_t k = 0; k < n; ++k)
        w.u32le(0x0D);
    return w.append(records).bytes;
}

// ---- VP3 ------------------------------------------------------------------------------------

ByteWriter& string16(ByteWriter& w, std::string_view s)
{
    return w.u16be(static_cast<unsigned>(s.size())).text(s);
}

// A tag and the 32-bit length of what follows it.
Bytes vp3Block(std::uint8_t tag, const Bytes& content, std::optional<std::uint32_t> length = {})
{
    ByteWriter w;
    w.u8(0).u8(tag).u8(0).u32be(length.value_or(static_cast<std::uint32_t>(content.size())));
    return w.append(content).bytes;
}

// VP3 stitch bytes: y downwards in the file.
class Vp3Stitches {
public:
    Vp3Stitches& stitch(int dx, int dy)
    {
        w_.u8(static_cast<unsigned>(dx)).u8(static_cast<unsigned>(-dy));
        return *this;
    }
    Vp3Stitches& longStitch(int dx, int dy)
    {
        w_.u8(0x80).u8(0x01).u16be(static_cast<unsigned>(dx)).u16be(static_cast<unsigned>(-dy));
        w_.u8(0x80).u8(0x02);
        return *this;
    }
    Vp3Stitches& code(std::uint8_t c)
    {
        w_.u8(0x80).u8(c);
        return *this;
    }
    const Bytes& bytes() const { return w_.bytes; }

private:
    ByteWriter w_;
};

struct Vp3Section {
    std::int32_t startX, startY; // 1/1000 mm from the design centre, y upwards
    std::uint8_t r, g, b;
    std::string code, name, brand;
    Bytes stitches;
    std::optional<std::uint32_t> length; // replaces the section's length
};

Bytes vp3Section(const Vp3Section& s)
{
    ByteWriter w;
    w.i32be(s.startX).i32be(s.startY).u8(1).u8(0);
    w.u8(s.r).u8(s.g).u8(s.b).u8(0).u16be(0).u8(5).u8(40);
    string16(w, s.code);
    string16(w, s.name);
    string16(w, s.brand);
    w.i32be(0).i32be(0);
    w.append(vp3Block(1, ByteWriter().u8(0x0A).u8(0xF6).u8(0).append(s.stitches).bytes));
    w.u8(0);
    return vp3Block(5, w.bytes, s.length);
}

// A VP3 file of the sections around the centre (1/1000 mm, y upwards). `count` replaces the
// number of sections the design block gives.
Bytes vp3File(std::int32_t centreX, std::int32_t centreY, const std::vector<Vp3Section>& sections,
              std::optional<unsigned> count = std::nullopt)
{
    ByteWriter design;
    design.i32be(centreX).i32be(centreY).fill(3);
    design.i32be(-5000).i32be(5000).i32be(-5000).i32be(5000).i32be(10000).i32be(10000);
    string16(design, "");
    design.u8('d').u8('d').u32be(0x1000).u32be(0).u32be(0).u32be(0x1000);
    design.text("xxPP").u8(1).u8(0);
    string16(design, std::string("\0L\0S", 4));
    design.u16be(count.value_or(static_cast<unsigned>(sections.size())));
    for (const Vp3Section& s : sections)
        design.append(vp3Section(s));

    ByteWriter file;
    string16(file, "");
    file.i32be(5000).i32be(5000).i32be(-5000).i32be(-5000).u32be(0);
    file.u8(0).u8(static_cast<unsigned>(sections.size())).u8(0x0C).u8(0).u8(1);
    file.append(vp3Block(3, design.bytes));

    ByteWriter w;
    w.text("%vsm%").u8(0);
    string16(w, std::string("\0L\0S", 4));
    return w.append(vp3Block(2, file.bytes)).bytes;
}

// ---- XXX ------------------------------------------------------------------------------------

// XXX records; the file's y grows upwards. Remembers where the end record is.
class XxxRecords {
public:
    XxxRecords& stitch(int dx, int dy)
    {
        w_.u8(static_cast<unsigned>(dx)).u8(static_cast<unsigned>(dy));
        return *this;
    }
    XxxRecords& longMove(int dx, int dy, std::uint8_t lead = 0x7E)
    {
        w_.u8(lead).u16le(static_cast<unsigned>(dx)).u16le(static_cast<unsigned>(dy));
        return *this;
    }
    XxxRecords& control(std::uint8_t code, int dx = 0, int dy = 0)
    {
        w_.u8(0x7F).u8(code).u8(static_cast<unsigned>(dx)).u8(static_cast<unsigned>(dy));
        return *this;
    }
    XxxRecords& end()
    {
        endAt = w_.bytes.size();
        return control(0x7F, 3, 0x14);
    }
    const Bytes& bytes() const { return w_.bytes; }
    std::optional<std::size_t> endAt;

private:
    ByteWriter w_;
};

// An XXX file: the header with the colour count and the end record's offset, the records, two
// zero bytes and the colour table. `count` and `endOffset` replace what the header should say.
Bytes xxxFile(const XxxRecords& records, const std::vector<TColor>& colours,
              std::optional<unsigned> count = std::nullopt,
              std::optional<std::uint32_t> endOffset = std::nullopt)
{
    ByteWriter w;
    w.fill(0x27).u16le(count.value_or(static_cast<unsigned>(colours.size())));
    w.fillTo(0xFC, 0);
    w.u32le(
        endOffset.value_or(records.endAt ? 0x100 + static_cast<std::uint32_t>(*records.endAt) : 0));
    w.append(records.bytes()).u16le(0);
    for (const TColor c : colours)
        w.u8(0).u8(redOf(c)).u8(greenOf(c)).u8(blueOf(c));
    return w.fill(16, 0xFF).bytes; // stock entries follow in real files
}

// ---- One file of each format with every command kind it has ---------------------------------

struct FormatCase {
    std::string name;
    DesignFormat format;
    Bytes bytes;
    std::vector<DesignCommand> commands;
    std::vector<DesignThread> threads;
};

const DesignThread kPecRed = thread(rgb(0xED, 0x17, 0x1F), "Red", "5", "Brother");
const DesignThread kPecBlack = thread(rgb(0, 0, 0), "Black", "20", "Brother");
const DesignThread kPecLime = thread(rgb(0x70, 0xBC, 0x1F), "Lime Green", "14", "Brother");

PecRecords pecRecordsOfEveryKind()
{
    PecRecords r;
    r.jump(100, -50).stitch(10, 5).stitch(-64, 63).stitch(300, -200).trim(-20, 30).stitch(1, 1);
    r.shortXLongY(3, 500, 0).shortXLongY(-3, 40, 0x10).change().stitch(0, 0).jump(2047, 2048);
    r.stitch(5, 0).change().stitch(-5, 0).end();
    return r;
}

Expected pecCommandsOfEveryKind()
{
    Expected e;
    e.jump(100, -50).stitch(10, 5).stitch(-64, 63).stitch(300, -200).trim().jump(-20, 30);
    e.stitch(1, 1).stitch(3, 500).jump(-3, 40).change().stitch(0, 0).jump(2047, 2048);
    e.stitch(5, 0).change().stitch(-5, 0).end();
    return e;
}

std::vector<FormatCase> everyKindCases()
{
    std::vector<FormatCase> cases;
    const Bytes palette = {5, 20, 14};
    cases.push_back({"pec",
                     DesignFormat::Pec,
                     pecFile(palette, pecRecordsOfEveryKind().bytes()),
                     pecCommandsOfEveryKind().commands,
                     {kPecRed, kPecBlack, kPecLime}});
    // A header of version 1 has no thread list: the PEC palette gives the threads.
    cases.push_back(
        {"pes v1",
         DesignFormat::Pes,
         pesFile("0001", Bytes(20, 0), pecBlock(palette, pecRecordsOfEveryKind().bytes())),
         pecCommandsOfEveryKind().commands,
         {kPecRed, kPecBlack, kPecLime}});
    cases.push_back(
        {"pes v6",
         DesignFormat::Pes,
         pesFile("0060",
                 pesHeader(kVersion6, {{"800", 0xED, 0x17, 0x1F, "Rouge vif", "EMBROIDERY"},
                                       {"1234", 1, 2, 3, "Gr\xFCn", "Madeira"},
                                       {"", 0x10, 0x20, 0x30, "", ""}}),
                 pecBlock(palette, pecRecordsOfEveryKind().bytes())),
         pecCommandsOfEveryKind().commands,
         {thread(rgb(0xED, 0x17, 0x1F), "Rouge vif", "800", "EMBROIDERY"),
          thread(rgb(1, 2, 3), "Gr\xC3\xBCn", "1234", "Madeira"), thread(rgb(0x10, 0x20, 0x30))}});

    EscapeRecords jef;
    jef.stitch(10, 20).stitch(-127, 127).escape(0x02, 100, -100).stitch(1, 1).escape(0x01);
    jef.stitch(0, 0).escape(0x01, 5, -5).stitch(2, 2).raw({0x80, 0x10});
    jef.stitch(50, 50); // after the end
    Expected jefExpected;
    jefExpected.stitch(10, 20).stitch(-127, 127).jump(100, -100).stitch(1, 1).change();
    jefExpected.stitch(0, 0).change().jump(5, -5).stitch(2, 2).end();
    cases.push_back({"jef",
                     DesignFormat::Jef,
                     jefFile({10, 62, -2}, jef.bytes()),
                     jefExpected.commands,
                     {thread(rgb(0xFF, 0, 0), "Red", "225", "Janome"),
                      thread(rgb(0xB2, 0xDD, 0x53), "Green Dust", "264", "Janome"),
                      thread(rgb(0xFF, 0xFF, 0xFF), "White", "001", "Janome")}});

    EscapeRecords exp;
    exp.stitch(10, 20).escape(0x02, -30, 40).escape(0x04, 127, -128).escape(0x80, 7, 0);
    exp.stitch(1, -1).escape(0x01).stitch(0, 0).escape(0x01, 20, 30).stitch(3, 3);
    exp.escape(0x01).raw({0x05}); // a trailing change, then an odd byte
    Expected expExpected;
    expExpected.stitch(10, 20).stitch(-30, 40).jump(127, -128).trim().stitch(1, -1).change();
    expExpected.stitch(0, 0).change().jump(20, 30).stitch(3, 3).change().end();
    cases.push_back({"exp", DesignFormat::Exp, exp.bytes(), expExpected.commands, {}});

    Vp3Stitches first;
    first.stitch(10, -20).longStitch(1000, -2000).code(0x03).code(0x02).stitch(-1, 1);
    Vp3Stitches second;
    second.stitch(127, 127);
    // Section starts in 1/1000 mm from the centre (1000, -2000): halves round away from zero.
    Expected vp3Expected;
    vp3Expected.at(StitchKind::Jump, 15, -15).stitch(10, -20).stitch(1000, -2000).trim();
    vp3Expected.stitch(-1, 1).change().at(StitchKind::Jump, -20, -41).stitch(127, 127);
    vp3Expected.change().at(StitchKind::Jump, 0, 0).end();
    cases.push_back(
        {"vp3",
         DesignFormat::Vp3,
         vp3File(1000, -2000,
                 {{450, 500, 1, 2, 3, "1176", "Baltic Blue", "Madeira Rayon 40", first.bytes(), {}},
                  {-3049, -2050, 0xFF, 0, 0, "", "Rouge \xE9", "", second.bytes(), {}},
                  {-1000, 2000, 0, 0xFF, 0, "", "", "", {}, {}}}),
         vp3Expected.commands,
         {thread(rgb(1, 2, 3), "Baltic Blue", "1176", "Madeira Rayon 40"),
          thread(rgb(0xFF, 0, 0), "Rouge \xC3\xA9"), thread(rgb(0, 0xFF, 0))}});

    XxxRecords xxx;
    xxx.stitch(10, 20).stitch(-124, 124).longMove(1000, -2000).longMove(-5, 5, 0x7D);
    xxx.control(0x01, 30, -30).control(0x03).control(0x03, 4, 5).stitch(1, 1).control(0x08);
    xxx.stitch(0, 0).control(0x0B, 6, 7).stitch(2, 2).control(0x18).end();
    Expected xxxExpected;
    xxxExpected.stitch(10, 20).stitch(-124, 124).jump(1000, -2000).jump(-5, 5).jump(30, -30);
    xxxExpected.trim().trim().jump(4, 5).stitch(1, 1).change().stitch(0, 0).change().jump(6, 7);
    xxxExpected.stitch(2, 2).end();
    cases.push_back({"xxx",
                     DesignFormat::Xxx,
                     xxxFile(xxx, {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9), rgb(10, 11, 12)}),
                     xxxExpected.commands,
                     {thread(rgb(1, 2, 3)), thread(rgb(4, 5, 6)), thread(rgb(7, 8, 9))}});
    return cases;
}

std::vector<DesignCommand> withoutEnd(std::vector<DesignCommand> commands)
{
    if (!commands.empty() && commands.back().kind == StitchKind::End)
        commands.pop_back();
    return commands;
}

} // namespace

TEST(FormatRead, EveryCommandKindOfEachFormat)
{
    for (const FormatCase& c : everyKindCases()) {
        SCOPED_TRACE(c.name);
        const CommandRead read = readDesign(c.format, c.bytes);
        ASSERT_TRUE(read.design) << read.reason;
        EXPECT_EQ(read.design->format, c.format);
        EXPECT_EQ(describe(read.design->commands), describe(c.commands));
        EXPECT_EQ(read.design->threads, c.threads);
        EXPECT_TRUE(testsupport::readAlike(c.format, c.bytes, read));
        // Opened without a second look at its records: their shape is found as they are made.
        EXPECT_TRUE(readDesignSteps(c.format, c.bytes).shape);
    }
}

// The first `size` bytes of a file, followed in memory by bytes the reader must not read:
// reading past the end would make a design that depends on them.
// The program's own read of it must agree.
CommandRead readCut(const FormatCase& c, std::size_t size, std::uint8_t beyond)
{
    Bytes memory(c.bytes.begin(), c.bytes.begin() + static_cast<std::ptrdiff_t>(size));
    memory.resize(size + 32, beyond);
    const std::span<const std::uint8_t> cut(memory.data(), size);
    CommandRead read = readDesign(c.format, cut);
    EXPECT_TRUE(testsupport::readAlike(c.format, cut, read));
    return read;
}

TEST(FormatRead, EveryCutOfAFileIsRefusedOrAShorterDesign)
{
    for (const FormatCase& c : everyKindCases()) {
        const auto whole = withoutEnd(c.commands);
        int refusals = 0;
        for (std::size_t size = 0; size < c.bytes.size(); ++size) {
            SCOPED_TRACE(c.name + " cut to " + std::to_string(size));
            const CommandRead read = readCut(c, size, 0x00);
            const CommandRead other = readCut(c, size, 0x35);
            ASSERT_EQ(other.design.has_value(), read.design.has_value());
            if (read.design) {
                ASSERT_EQ(describe(other.design->commands), describe(read.design->commands));
                ASSERT_EQ(other.design->threads, read.design->threads);
            }
            if (!read.design) {
                EXPECT_FALSE(read.reason.empty());
                ++refusals;
                continue;
            }
            // The records read are the first records of the whole file, then the End.
            const auto& commands = read.design->commands;
            ASSERT_FALSE(commands.empty());
            EXPECT_EQ(commands.back().kind, StitchKind::End);
            const auto got = withoutEnd(commands);
            ASSERT_LE(got.size(), whole.size());
            EXPECT_TRUE(std::equal(got.begin(), got.end(), whole.begin()));
            const std::size_t blocks = static_cast<std::size_t>(commandFacts(*read.design).colours);
            EXPECT_EQ(read.design->threads.size(), c.format == DesignFormat::Exp ? 0 : blocks);
        }
        // Formats with a header refuse the cuts that leave it incomplete, and only those.
        EXPECT_GT(refusals, 0) << c.name;
        EXPECT_LT(refusals, static_cast<int>(c.bytes.size())) << c.name;
    }
}

TEST(FormatRead, FilesOfAnotherKindAreRefusedWithTheReason)
{
    struct Case {
        const char* name;
        DesignFormat format;
        Bytes bytes;
        const char* reasonPart;
    };
    auto pes =
        pesFile("0001", Bytes(20, 0), pecBlock({5}, PecRecords().stitch(1, 1).end().bytes()));
    auto pec = pecFile({5}, PecRecords().stitch(1, 1).end().bytes());
    auto vp3 = vp3File(0, 0, {{0, 0, 1, 2, 3, "", "", "", Vp3Stitches().stitch(1, 1).bytes(), {}}});
    auto wrongPes = pes;
    wrongPes[1] = 'X';
    auto wrongPec = pec;
    wrongPec[3] = 'S';
    auto wrongVp3 = vp3;
    wrongVp3[0] = '$';
    auto noDesignMark = vp3;
    const std::string mark = "xxPP";
    std::search(noDesignMark.begin(), noDesignMark.end(), mark.begin(), mark.end())[2] = 'Q';
    const Case cases[] = {
        {"pes signature", DesignFormat::Pes, wrongPes, "#PES"},
        {"pes too short", DesignFormat::Pes, {'#', 'P', 'E', 'S'}, "#PES"},
        {"pec signature", DesignFormat::Pec, wrongPec, "#PEC"},
        {"a PES read as PEC", DesignFormat::Pec, pes, "#PEC"},
        {"vp3 signature", DesignFormat::Vp3, wrongVp3, "%vsm%"},
        {"vp3 layout", DesignFormat::Vp3, noDesignMark, "layout"},
        {"jef offset inside its header", DesignFormat::Jef, jefFile({1}, {}, 0x10), "offset"},
        {"a PNG read as JEF", DesignFormat::Jef,
         ByteWriter().u8(0x89).text("PNG\r\n\x1A\n").fill(200, 7).bytes, "offset"},
        {"jef too short", DesignFormat::Jef, Bytes(0x73, 0), "short"},
        {"xxx too short", DesignFormat::Xxx, Bytes(0xFF, 0), "short"},
        {"exp of one byte", DesignFormat::Exp, Bytes(1, 0), "short"},
        {"exp of nothing", DesignFormat::Exp, {}, "short"},
        {"dst", DesignFormat::Dst, Bytes(600, 0), "DST"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandRead read = readDesign(c.format, c.bytes);
        EXPECT_FALSE(read.design);
        EXPECT_NE(read.reason.find(c.reasonPart), std::string::npos) << read.reason;
    }
}

// Counts, offsets and lengths that point past the end or promise more than is there: each file
// reads as far as its bytes go, or is refused, and the threads stay one per block.
TEST(FormatRead, HostileCountsAndOffsetsAreBounded)
{
    struct Case {
        const char* name;
        DesignFormat format;
        Bytes bytes;
        bool refused;
        int stitches; // when read
    };
    const Bytes twoStitches = PecRecords().stitch(1, 1).change().stitch(2, 2).end().bytes();
    const Bytes block = pecBlock({5, 20}, twoStitches);
    auto pesAt = [&](std::uint32_t offset) {
        auto b = pesFile("0001", Bytes(20, 0), block);
        b[8] = offset & 0xFF;
        b[9] = offset >> 8 & 0xFF;
        b[10] = offset >> 16 & 0xFF;
        b[11] = offset >> 24;
        return b;
    };
    auto pecWith = [&](std::size_t at, std::uint8_t value) {
        auto b = pecFile({5, 20}, twoStitches);
        b[8 + at] = value;
        return b;
    };
    const EscapeRecords jefRecords = EscapeRecords().stitch(1, 1).escape(1).stitch(2, 2);
    Vp3Stitches vp3Stitches;
    vp3Stitches.stitch(1, 1).stitch(2, 2);
    const Vp3Section section{0, 0, 1, 2, 3, "c", "n", "b", vp3Stitches.bytes(), {}};
    Vp3Section endless = section;
    endless.length = 0xFFFFFFFF;
    auto vp3StitchLength = [&](std::uint32_t length) {
        auto b = vp3File(0, 0, {section});
        // The stitch block's tag 00 01 00 is followed by its length.
        const Bytes tag = {0, 1, 0, 0, 0, 0, 7, 0x0A, 0xF6};
        auto at = std::search(b.begin(), b.end(), tag.begin(), tag.end()) + 3;
        for (int i = 3; i >= 0; --i, length >>= 8)
            at[i] = length & 0xFF;
        return b;
    };
    XxxRecords xxx;
    xxx.stitch(1, 1).control(0x08).stitch(2, 2).end();
    XxxRecords xxxNoEnd;
    xxxNoEnd.stitch(1, 1).control(0x08).stitch(2, 2);
    auto xxxWithoutEnd = xxxFile(xxxNoEnd, {1, 2}, 0xFFFF);
    xxxWithoutEnd.resize(0x100 + xxxNoEnd.bytes().size());

    const Case cases[] = {
        {"pes: PEC block past the end", DesignFormat::Pes, pesAt(0xFFFFFFF0), true, 0},
        {"pes: PEC block in the header", DesignFormat::Pes, pesAt(4), true, 0},
        {"pes: PEC block too near the end", DesignFormat::Pes,
         pesAt(static_cast<std::uint32_t>(block.size())), true, 0},
        {"pes: 65535 threads listed", DesignFormat::Pes,
         pesFile("0060", pesHeader(kVersion6, {{"1", 1, 2, 3, "a", "b"}}, 0xFFFF), block), false,
         2},
        {"pes: fill data before the threads", DesignFormat::Pes,
         pesFile("0060", pesHeader(kVersion6, {{"1", 1, 2, 3, "a", "b"}}, {}, 1), block), false, 2},
        {"pec: 256 colours listed", DesignFormat::Pec, pecWith(0x30, 0xFE), false, 2},
        {"pec: stitch length past the end", DesignFormat::Pec, pecWith(0x204, 0xFF), false, 2},
        {"pec: stitch length zero", DesignFormat::Pec,
         ByteWriter().text("#PEC0001").append(pecBlock({5}, twoStitches, 0)).bytes, false, 0},
        {"jef: stitch offset past the end", DesignFormat::Jef,
         jefFile({1, 2}, jefRecords.bytes(), 0xFFFFFFF0), true, 0},
        {"jef: 4 billion threads", DesignFormat::Jef,
         jefFile({1, 2}, jefRecords.bytes(), {}, 0xFFFFFFFF), false, 2},
        {"jef: stitch offset at the end", DesignFormat::Jef, jefFile({1}, {}, 0x74 + 8), false, 0},
        {"vp3: 65535 sections listed", DesignFormat::Vp3, vp3File(0, 0, {section}, 0xFFFF), false,
         2},
        {"vp3: section longer than the file", DesignFormat::Vp3, vp3File(0, 0, {endless}), false,
         2},
        {"vp3: stitch block longer than the file", DesignFormat::Vp3, vp3StitchLength(0xFFFFFFFF),
         false, 2},
        {"vp3: stitch block shorter than its own start", DesignFormat::Vp3, vp3StitchLength(1),
         false, 0},
        {"xxx: 65535 colours listed", DesignFormat::Xxx, xxxFile(xxx, {1, 2}, 0xFFFF), false, 2},
        {"xxx: end record offset past the end", DesignFormat::Xxx,
         xxxFile(xxx, {1, 2}, {}, 0xFFFFFFFF), false, 2},
        {"xxx: no end record", DesignFormat::Xxx, xxxWithoutEnd, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandRead read = readDesign(c.format, c.bytes);
        ASSERT_EQ(!read.design, c.refused) << read.reason;
        if (c.refused) {
            EXPECT_FALSE(read.reason.empty());
            continue;
        }
        const DesignFacts facts = commandFacts(*read.design);
        EXPECT_EQ(facts.stitches, c.stitches);
        EXPECT_EQ(read.design->threads.size(), static_cast<std::size_t>(facts.colours));
    }
}

TEST(FormatRead, DesignsBeyondTheLimitsAreRefused)
{
    // Long moves of 32767 run past 1.6 km after 513 of them.
    XxxRecords far;
    for (int i = 0; i < 600; ++i)
        far.longMove(32767, 0);
    const Bytes farFile = xxxFile(far.end(), {});
    const CommandRead farRead = readDesign(DesignFormat::Xxx, farFile);
    EXPECT_FALSE(farRead.design);
    EXPECT_NE(farRead.reason.find("1.6 km"), std::string::npos);
    // There and back again stays inside.
    XxxRecords back;
    for (int i = 0; i < 600; ++i)
        back.longMove(i % 2 ? -32767 : 32767, 0);
    EXPECT_TRUE(readDesign(DesignFormat::Xxx, xxxFile(back.end(), {})).design);

    EscapeRecords changes;
    for (std::size_t i = 0; i < kMaxColourChanges; ++i)
        changes.escape(0x01);
    EXPECT_TRUE(readDesign(DesignFormat::Exp, changes.bytes()).design);
    changes.escape(0x01);
    const CommandRead tooManyChanges = readDesign(DesignFormat::Exp, changes.bytes());
    EXPECT_FALSE(tooManyChanges.design);
    EXPECT_NE(tooManyChanges.reason.find("colour changes"), std::string::npos);

    // Stitches that go back and forth, one more than the limit with the End.
    Bytes stitches(2 * kMaxDesignCommands);
    for (std::size_t i = 0; i < stitches.size(); i += 4) {
        stitches[i] = 0xFF;
        stitches[i + 2] = 0x01;
    }
    const CommandRead tooMany = readDesign(DesignFormat::Exp, stitches);
    EXPECT_FALSE(tooMany.design);
    EXPECT_NE(tooMany.reason.find("commands"), std::string::npos);
    EXPECT_TRUE(testsupport::readAlike(DesignFormat::Exp, stitches, tooMany));
    stitches.resize(stitches.size() - 2);
    EXPECT_TRUE(readDesign(DesignFormat::Exp, stitches).design);

    // Plain stitches, which the readers take in runs of their own, up to 1.6 km exactly: the
    // last position is on the limit (y off the axis) and read; one step more is refused.
    EscapeRecords toTheLimit;
    const int steps = kMaxDesignCoordinate / 127;
    for (int i = 0; i < steps; ++i)
        toTheLimit.stitch(127, 0);
    toTheLimit.stitch(kMaxDesignCoordinate - 127 * steps, 0).stitch(0, 5);
    const CommandRead atTheLimit = readDesign(DesignFormat::Exp, toTheLimit.bytes());
    ASSERT_TRUE(atTheLimit.design) << atTheLimit.reason;
    EXPECT_EQ(atTheLimit.design->commands.back().x, kMaxDesignCoordinate);
    EXPECT_TRUE(testsupport::readAlike(DesignFormat::Exp, toTheLimit.bytes(), atTheLimit));
    toTheLimit.stitch(1, 0).stitch(1, 0);
    const CommandRead pastTheLimit = readDesign(DesignFormat::Exp, toTheLimit.bytes());
    EXPECT_FALSE(pastTheLimit.design);
    EXPECT_NE(pastTheLimit.reason.find("1.6 km"), std::string::npos);
    EXPECT_TRUE(testsupport::readAlike(DesignFormat::Exp, toTheLimit.bytes(), pastTheLimit));
    EXPECT_TRUE(testsupport::readAlike(DesignFormat::Xxx, farFile, farRead));
}

// A design whose DST would take more records than a DST file may hold: the records stop
// before the move that would pass the limit, and the facts still count every stitch after it.
TEST(FormatRead, RecordsStopAtTheDstLimitAndTheFactsGoOn)
{
    XxxRecords moves;
    const std::size_t piecesOfEach = (32767 + 120) / 121;
    const std::size_t longMoves = kMaxDstRecords / piecesOfEach + 1;
    for (std::size_t i = 0; i < longMoves; ++i)
        moves.longMove(i % 2 ? -32767 : 32767, 0);
    for (int i = 0; i < 1000; ++i)
        moves.stitch(1, 1);
    const Bytes file = xxxFile(moves.end(), {});
    const StepRead drawn = readDesignSteps(DesignFormat::Xxx, file);
    ASSERT_TRUE(drawn.read) << drawn.reason;
    EXPECT_LE(drawn.steps.size(), kMaxDstRecords);
    EXPECT_GT(drawn.steps.size(), kMaxDstRecords - piecesOfEach);
    EXPECT_EQ(drawn.facts.stitches, 1000);
    // The stitches left out lie beyond the records' reach: their extent is found from them.
    EXPECT_FALSE(drawn.shape);
    EXPECT_TRUE(
        testsupport::readAlike(DesignFormat::Xxx, file, readDesign(DesignFormat::Xxx, file)));
}

// ---- Threads --------------------------------------------------------------------------------

TEST(FormatThreads, PesHeaderListsOfEveryVersionAreFound)
{
    const PesLayout layouts[] = {
        {"0050", 0, 24, 24}, {"0055", 0, 24, 24}, {"0056", 0, 24, 24},  {"0060", 0, 36, 24},
        {"0070", 0, 36, 24}, {"0080", 0, 38, 26}, {"0090", 14, 30, 34}, {"0100", 14, 38, 34},
    };
    const Bytes block = pecBlock({1, 2}, PecRecords().stitch(1, 1).change().end().bytes());
    const std::vector<DesignThread> listed = {thread(rgb(9, 8, 7), "Nine", "9", "B"),
                                              thread(rgb(6, 5, 4), "Six", "6", "B")};
    for (const PesLayout& layout : layouts) {
        SCOPED_TRACE(layout.version);
        const auto header =
            pesHeader(layout, {{"9", 9, 8, 7, "Nine", "B"}, {"6", 6, 5, 4, "Six", "B"}});
        const CommandRead read =
            readDesign(DesignFormat::Pes, pesFile(layout.version, header, block));
        ASSERT_TRUE(read.design) << read.reason;
        EXPECT_EQ(read.design->threads, listed);
    }
    // A version whose header is not known here: the PEC palette.
    const CommandRead unknown = readDesign(
        DesignFormat::Pes,
        pesFile("0111",
                pesHeader(kVersion6, {{"9", 9, 8, 7, "Nine", "B"}, {"6", 6, 5, 4, "Six", "B"}}),
                block));
    ASSERT_TRUE(unknown.design);
    EXPECT_EQ(unknown.design->threads[0],
              thread(rgb(0x0E, 0x1F, 0x7C), "Prussian Blue", "1", "Brother"));
}

TEST(FormatThreads, PesListsAndPecPalettesGiveOneThreadPerBlock)
{
    const DesignThread a = thread(rgb(1, 1, 1), "A", "1", "X");
    const DesignThread b = thread(rgb(2, 2, 2), "B", "2", "X");
    const DesignThread redOne = thread(rgb(0xED, 0x17, 0x1F), "Rot", "10", "X");
    const DesignThread redTwo = thread(rgb(0xED, 0x17, 0x1F), "Rouge", "11", "X");
    const std::vector<PesThread> ab = {{"1", 1, 1, 1, "A", "X"}, {"2", 2, 2, 2, "B", "X"}};
    const std::vector<PesThread> reds = {{"10", 0xED, 0x17, 0x1F, "Rot", "X"},
                                         {"11", 0xED, 0x17, 0x1F, "Rouge", "X"},
                                         {"2", 2, 2, 2, "B", "X"}};
    struct Case {
        const char* name;
        std::optional<std::vector<PesThread>> listed; // none: a PEC file
        Bytes palette;
        int changes;
        std::vector<DesignThread> threads;
    };
    const Case cases[] = {
        // Fewer listed than palette entries: one listed thread per distinct index, in the order
        // they first appear, then the PEC palette.
        {"pes: shorter list", ab, {5, 20, 5, 14}, 3, {a, b, a, kPecLime}},
        {"pes: list longer than the blocks", ab, {5}, 0, {a}},
        {"pes: more blocks than listed", ab, {5, 20}, 3, {a, b, kNoColour, kNoColour}},
        // The second red is a stop: its block keeps the first red, name and all.
        {"pes: change to the colour in use", reds, {5, 5, 2}, 2, {redOne, redOne, b}},
        {"pec: more blocks than listed", std::nullopt, {5}, 2, {kPecRed, kNoColour, kNoColour}},
        {"pec: index 0 and its wraps name no colour",
         std::nullopt,
         {0, 65, 66, 20 + 130},
         3,
         {kNoColour, kNoColour, thread(rgb(0x0E, 0x1F, 0x7C), "Prussian Blue", "1", "Brother"),
          kPecBlack}},
        {"pec: no colours listed", std::nullopt, {}, 1, {kNoColour, kNoColour}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PecRecords records;
        for (int i = 0; i < c.changes; ++i)
            records.stitch(1, 1).change();
        const Bytes block = pecBlock(c.palette, records.stitch(1, 1).end().bytes());
        const CommandRead read =
            c.listed
                ? readDesign(DesignFormat::Pes,
                             pesFile("0060", pesHeader(kVersion6, *c.listed), block))
                : readDesign(DesignFormat::Pec, ByteWriter().text("#PEC0001").append(block).bytes);
        ASSERT_TRUE(read.design) << read.reason;
        EXPECT_EQ(read.design->threads, c.threads);
    }
}

TEST(FormatThreads, JefIndexZeroKeepsTheThreadInUse)
{
    const DesignThread red = thread(rgb(0xFF, 0, 0), "Red", "225", "Janome");
    const DesignThread black = thread(rgb(0, 0, 0), "Black", "002", "Janome");
    struct Case {
        std::vector<std::int32_t> indices;
        int changes;
        std::vector<DesignThread> threads;
    };
    const Case cases[] = {
        {{10, 0}, 1, {red, red}},
        {{0, 10}, 1, {kNoColour, red}},
        {{10, 0, 1, 0}, 3, {red, red, black, black}},
        {{10}, 2, {red, kNoColour, kNoColour}},
        {{10 + 79, -1, 79}, 2, {red, black, black}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.indices));
        EscapeRecords records;
        for (int i = 0; i < c.changes; ++i)
            records.stitch(1, 1).escape(0x01);
        const CommandRead read =
            readDesign(DesignFormat::Jef, jefFile(c.indices, records.raw({0x80, 0x10}).bytes()));
        ASSERT_TRUE(read.design) << read.reason;
        EXPECT_EQ(read.design->threads, c.threads);
    }
}

TEST(FormatThreads, XxxColourTableFollowsTheEndRecord)
{
    // The table starts six bytes after the 7F 7F record, not after the 7F 18 before it.
    XxxRecords records;
    records.stitch(1, 1).control(0x08).stitch(1, 1).control(0x18).end();
    const CommandRead read =
        readDesign(DesignFormat::Xxx, xxxFile(records, {rgb(0x11, 0x22, 0x33), rgb(4, 5, 6)}));
    ASSERT_TRUE(read.design);
    EXPECT_EQ(read.design->threads,
              (std::vector<DesignThread>{thread(rgb(0x11, 0x22, 0x33)), thread(rgb(4, 5, 6))}));

    // Where the records stop early at a code not known here, the header says where the end
    // record and the table are.
    XxxRecords early;
    early.stitch(1, 1).control(0x55).stitch(1, 1).end();
    const CommandRead stopped = readDesign(DesignFormat::Xxx, xxxFile(early, {rgb(7, 8, 9)}));
    ASSERT_TRUE(stopped.design);
    EXPECT_EQ(commandFacts(*stopped.design).stitches, 1);
    EXPECT_EQ(stopped.design->threads, std::vector<DesignThread>{thread(rgb(7, 8, 9))});
}

// ---- Facts ----------------------------------------------------------------------------------

TEST(FormatFacts, CountedOverEveryCommand)
{
    using K = StitchKind;
    struct Case {
        const char* name;
        std::vector<DesignCommand> commands;
        int stitches;
        std::vector<int> blocks;
        double width, height;
    };
    const std::int32_t far = kMaxDesignCoordinate;
    const Case cases[] = {
        {"no commands", {}, 0, {0}, 0, 0},
        {"the origin is not added",
         {{K::Jump, 100, -50}, {K::Stitch, 110, -45}, {K::Stitch, 120, 100}, {K::End, 120, 100}},
         2,
         {2},
         2.0,
         15.0},
        {"leading and trailing changes make blocks",
         {{K::ColourChange, 0, 0},
          {K::Stitch, 1, 0},
          {K::Stitch, 2, 0},
          {K::ColourChange, 2, 0},
          {K::End, 2, 0}},
         2,
         {0, 2, 0},
         0.2,
         0},
        {"jumps, trims and the end have positions too",
         {{K::Stitch, 0, 0}, {K::Trim, 0, 0}, {K::Jump, 1001, -7}, {K::End, 1001, -7}},
         1,
         {1},
         100.1,
         0.7},
        {"the widest positions",
         {{K::Stitch, -far, -far}, {K::Stitch, far, far}},
         2,
         {2},
         3355443.2,
         3355443.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DesignFacts facts = commandFacts({DesignFormat::Exp, c.commands, {}, {}});
        EXPECT_EQ(facts.stitches, c.stitches);
        EXPECT_EQ(facts.colours, static_cast<int>(c.blocks.size()));
        EXPECT_EQ(facts.blockStitches, c.blocks);
        EXPECT_DOUBLE_EQ(facts.widthMm, c.width);
        EXPECT_DOUBLE_EQ(facts.heightMm, c.height);
    }
}

TEST(FormatNames, ExtensionsInAnyLetterCase)
{
    const std::pair<const char*, std::optional<DesignFormat>> cases[] = {
        {"a.pes", DesignFormat::Pes},      {"A.PES", DesignFormat::Pes},
        {"x.y.Pec", DesignFormat::Pec},    {"b.jef", DesignFormat::Jef},
        {"b.EXP", DesignFormat::Exp},      {"c.vP3", DesignFormat::Vp3},
        {"d.XXX", DesignFormat::Xxx},      {"e.dst", DesignFormat::Dst},
        {".pes", DesignFormat::Pes},       {"pes", std::nullopt},
        {"a.pes.bak", std::nullopt},       {"a.pe", std::nullopt},
        {"a.pess", std::nullopt},          {"", std::nullopt},
        {"folder.pes/file", std::nullopt},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(formatOfFileName(name), format) << name;
    for (const DesignFormat f :
         {DesignFormat::Dst, DesignFormat::Pes, DesignFormat::Pec, DesignFormat::Jef,
          DesignFormat::Exp, DesignFormat::Vp3, DesignFormat::Xxx})
        EXPECT_EQ(formatOfFileName(std::string("design.") + formatName(f)), f);
}

// ---- DST bytes ------------------------------------------------------------------------------

namespace {

struct Record {
    int dx, dy;
    std::uint8_t control;
};

std::vector<Record> dstRecords(const Bytes& bytes)
{
    std::vector<Record> records;
    for (std::size_t at = kDstHeaderSize; at + 3 <= bytes.size() - 7; at += 3) {
        const DstMove m = decodeDstMove(bytes[at], bytes[at + 1], bytes[at + 2]);
        records.push_back({m.dx, m.dy, bytes[at + 2]});
    }
    return records;
}

} // namespace

TEST(FormatToDst, EveryMoveOfOneRecordDecodesBack)
{
    CommandDesign design;
    design.commands.push_back({StitchKind::Stitch, 0, 0});
    std::int32_t x = 0, y = 0;
    for (int dx = -121; dx <= 121; ++dx)
        for (int dy = -121; dy <= 121; ++dy)
            design.commands.push_back({StitchKind::Stitch, x += dx, y += dy});
    const auto records = dstRecords(toDstBytes(design));
    ASSERT_EQ(records.size(), design.commands.size());
    for (std::size_t k = 1; k < records.size(); ++k) {
        const DesignCommand& from = design.commands[k - 1];
        const DesignCommand& to = design.commands[k];
        ASSERT_EQ(records[k].dx, to.x - from.x) << k;
        ASSERT_EQ(records[k].dy, to.y - from.y) << k;
        ASSERT_EQ(records[k].control & 0xC3, 0x03) << k;
    }
}

TEST(FormatToDst, LongMovesBecomeJumpsEndingInTheCommandsOwnRecord)
{
    struct Case {
        StitchKind kind;
        int dx, dy;
        std::size_t records;
        std::uint8_t last; // control bits of the last record
    };
    const Case cases[] = {
        {StitchKind::Stitch, 121, -121, 1, 0x03},  {StitchKind::Stitch, 122, 0, 2, 0x03},
        {StitchKind::Stitch, -500, 300, 5, 0x03},  {StitchKind::Jump, 1000, -1000, 9, 0x83},
        {StitchKind::Trim, 0, 0, 1, 0x83},         {StitchKind::Trim, 0, 250, 3, 0x83},
        {StitchKind::ColourChange, 0, 0, 1, 0xC3}, {StitchKind::ColourChange, 200, 1, 3, 0xC3},
        {StitchKind::End, 0, 0, 1, 0x83}, // a lone stitch gets a jump of no length after it
        {StitchKind::End, 0, -300, 3, 0x83},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.kind) << ' ' << c.dx << ' ' << c.dy);
        const CommandDesign design{
            DesignFormat::Exp, {{StitchKind::Stitch, 7, 9}, {c.kind, 7 + c.dx, 9 + c.dy}}, {}, {}};
        const auto records = dstRecords(toDstBytes(design));
        ASSERT_EQ(records.size(), 1 + c.records);
        int x = 0, y = 0;
        for (std::size_t k = 1; k < records.size(); ++k) {
            x += records[k].dx;
            y += records[k].dy;
            EXPECT_EQ(records[k].control & 0xC3, k + 1 < records.size() ? 0x83 : c.last);
        }
        EXPECT_EQ(x, c.dx);
        EXPECT_EQ(y, c.dy);
    }
}

TEST(FormatToDst, HeaderRecordsAndTrailerAsAConverterWrites)
{
    using K = StitchKind;
    const CommandDesign design{DesignFormat::Pes,
                               {{K::Jump, 100, 100},
                                {K::Stitch, 110, 90},
                                {K::ColourChange, 110, 90},
                                {K::Stitch, 80, 95},
                                {K::End, 80, 95},
                                {K::Stitch, 5000, 5000}},
                               {},
                               {}};
    const Bytes bytes = toDstBytes(design, "R\xC3\xA9sum\xC3\xA9 of a long name");
    const std::string header(bytes.begin(), bytes.begin() + kDstHeaderSize);
    EXPECT_EQ(header.substr(0, 23), "LA:Rsum of a long n\rST:");
    for (const char* field : {"ST:      4\r", "CO:  1\r", "+X:   10\r", "-X:   20\r", "+Y:    0\r",
                              "-Y:   10\r", "AX:-   20\r", "AY:-    5\r"})
        EXPECT_NE(header.find(field), std::string::npos) << field;
    EXPECT_EQ(header.back(), ' ');
    // Nothing after the End is written; the end record and the trailer close the file.
    ASSERT_EQ(bytes.size(), kDstHeaderSize + 4 * 3 + 7);
    EXPECT_EQ(Bytes(bytes.end() - 7, bytes.end()), (Bytes{0, 0, 0xF3, 0, 0, 0xF3, 0x1A}));

    const Bytes empty = toDstBytes(CommandDesign{});
    EXPECT_EQ(empty.size(), kDstHeaderSize + 7);
}

TEST(FormatToDst, TembsReadsTheExtentAndTheBlocks)
{
    using K = StitchKind;
    struct Case {
        const char* name;
        std::vector<DesignCommand> commands;
        std::vector<int> blockIndices;
        std::vector<int> blockSizes;
    };
    const Case cases[] = {
        {"a change and a jump",
         {{K::Stitch, 0, 0},
          {K::Stitch, 10, 0},
          {K::Stitch, 10, 10},
          {K::ColourChange, 10, 10},
          {K::Stitch, 20, 10},
          {K::Stitch, 30, 10},
          {K::Jump, 40, 40},
          {K::Stitch, 40, 40},
          {K::Stitch, 50, 40},
          {K::End, 50, 40}},
         {0, 1, 1},
         {4, 3, 2}},
        // A colour change away from the needle is jumped to first: its record moves nothing,
        // or the move's bits in its control byte would hide the change.
        {"a change that moves",
         {{K::Stitch, 0, 0},
          {K::Stitch, 10, 0},
          {K::ColourChange, 300, 0},
          {K::Stitch, 310, 0},
          {K::Stitch, 320, 0},
          {K::End, 320, 0}},
         {0, 1},
         {3, 2}},
        // The start is far from the origin, a trim cuts the block, a long stitch takes jumps
        // and a change before the first stitch moves to the second colour.
        {"far from the origin",
         {{K::Jump, -3000, 2000},
          {K::ColourChange, -3000, 2000},
          {K::Stitch, -3000, 2000},
          {K::Stitch, -2990, 2000},
          {K::Trim, -2990, 2000},
          {K::Stitch, -2990, 2010},
          {K::Stitch, -2600, 2010},
          {K::ColourChange, -2600, 2010},
          {K::ColourChange, -2600, 2010},
          {K::Stitch, -2600, 1000},
          {K::Stitch, -2590, 1000}},
         {1, 1, 1, 3},
         {3, 2, 2, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandDesign design{DesignFormat::Jef, c.commands, {}, {}};
        const DesignFacts facts = commandFacts(design);
        Tembs dst;
        ASSERT_EQ(dst.readdstbytes(toDstBytes(design)), DstReadStatus::Read);
        EXPECT_DOUBLE_EQ(dst.width(), facts.widthMm);
        EXPECT_DOUBLE_EQ(dst.height(), facts.heightMm);
        EXPECT_EQ(dst.colorcount(), facts.colours);
        EXPECT_EQ(testsupport::blockIndices(dst), c.blockIndices);
        EXPECT_EQ(testsupport::blockSizes(dst), c.blockSizes);
    }
}

TEST(FormatToDst, EveryFormatsFileReadsBackWithItsSize)
{
    for (const FormatCase& c : everyKindCases()) {
        SCOPED_TRACE(c.name);
        const CommandRead read = readDesign(c.format, c.bytes);
        ASSERT_TRUE(read.design);
        const DesignFacts facts = commandFacts(*read.design);
        Tembs dst;
        ASSERT_EQ(dst.readdstbytes(toDstBytes(*read.design)), DstReadStatus::Read);
        // The drawn design lies on the 0.1 mm grid; a size measured finer may differ by that.
        const double grid = read.design->fineExtent ? 0.1 + 1e-9 : 0;
        EXPECT_NEAR(dst.width(), facts.widthMm, grid);
        EXPECT_NEAR(dst.height(), facts.heightMm, grid);
        EXPECT_EQ(dst.colorcount(), facts.colours);
    }
}
