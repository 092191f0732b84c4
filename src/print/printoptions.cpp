#include "printoptions.h"

#include "config/configvalues.h"
#include "config/inifile.h"

namespace loomscope {

PrintOptionsRead readPrintOptions(const IniFile& ini)
{
    PrintOptionsRead read;
    for (const PrintOptionKey& k : kPrintOptionKeys) {
        const auto text = ini.value(kPrinterSection, k.key);
        if (!text || text->empty())
            continue;
        const Converted<bool> value = parseBoolValue(*text);
        if (!value.value) {
            read.error = value.error;
            break;
        }
        read.options.*k.field = *value.value;
    }
    return read;
}

void writePrintOptions(IniFile& ini, const PrintOptions& options)
{
    for (const PrintOptionKey& k : kPrintOptionKeys)
        ini.setValue(kPrinterSection, k.key, formatBoolValue(options.*k.field));
}

} // namespace loomscope
