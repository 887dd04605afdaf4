// The small rules on any text: the show command is one of the known ones, the version order is
// a strict order.
#include <cstdlib>

#include "FuzzSupport.h"
#include "app/SettingsRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = orvane::fuzz::AsText(data, size);
    switch (orvane::ParseShowWindow(text)) {
        case 1: case 2: case 3: case 4: case 7: case 9: break;
        default: std::abort();
    }
    (void)orvane::IsVersionText(text);
    const std::size_t cut = size ? data[0] % (size + 1) : 0;
    std::string_view a = text.substr(0, cut), b = text.substr(cut);
    const bool lower = orvane::IsVersionLower(a, b);
    const bool higher = orvane::IsVersionLower(b, a);
    if (lower && higher) std::abort();
    if (!lower && !higher && a != b) std::abort();
    if (orvane::BrowserGatePasses(a, b) != (!a.empty() && !lower)) std::abort();
    return 0;
}
