// The INI reader: any bytes, read in pieces of any size, give bounded values and never crash.
#include <array>
#include <cstdlib>

#include "FuzzSupport.h"
#include "app/ProfileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::size_t piece = 1 + data[0] % 64;
    orvane::fuzz::BufferReader reader(orvane::fuzz::AsText(data + 1, size - 1), piece);
    orvane::platform::LineReader lines(reader);
    static constexpr std::array<std::string_view, 3> kKeys{"ViewerCommand", "WaitInterval",
                                                           "ShowMenu"};
    auto section = orvane::ProfileSection::Read(lines, "Orvane", kKeys);
    for (auto key : kKeys) {
        std::string value = section.GetString(key, "fallback");
        if (value.size() > orvane::ProfileSection::kMaxValue) std::abort();
        (void)section.GetInt(key, 10);
    }
    return 0;
}
