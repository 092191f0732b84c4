// Any bytes as a VP3 file: the reader, and the DST bytes of what it read.
#include "formatfuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    loomscope::fuzz::checkFormatReader(loomscope::DesignFormat::Vp3, data, size);
    return 0;
}
