// Writes small seed inputs for the fuzz targets into the folder given.
#include "dstbuilder.h"
#include "model/colorsequencefile.h"

#include <filesystem>
#include <fstream>

namespace {
void write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
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
    return 0;
}
