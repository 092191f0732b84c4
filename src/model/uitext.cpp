#include "uitext.h"

#include <atomic>
#include <vector>

namespace loomscope {

namespace {
std::atomic<TextTranslator> gTranslator{nullptr};
}

void setTextTranslator(TextTranslator translator)
{
    gTranslator = translator;
}

std::string uiText(const char* context, const char* text)
{
    const TextTranslator translate = gTranslator;
    return translate ? translate(context, text) : std::string(text);
}

std::string fillText(const std::string& pattern, std::initializer_list<std::string> arguments)
{
    const std::vector<std::string> args(arguments);
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (k < args.size()) {
                out += args[k];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace loomscope
