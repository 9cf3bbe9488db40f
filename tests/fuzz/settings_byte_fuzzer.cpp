// Applies any settings byte to a record with any earlier die and options, and
// stops at the first difference from the plain model of the byte's layout.
//
// Input: the last byte is the settings byte, the one before it an earlier
// byte, and the bytes before that the earlier sides.

#include <cstdio>
#include <cstdlib>

#include <fuzzer/FuzzedDataProvider.h>

#include "settings_byte_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto byte = input.ConsumeIntegral<std::uint8_t>();
    alearo::RollState earlier;  // options from an earlier byte, then any sides at all
    alearo::ApplySettingsByte(earlier, input.ConsumeIntegral<std::uint8_t>());
    earlier.m_nDieSides = input.ConsumeIntegral<int>();
    if (!settings_byte_model::ProgramAgrees(byte, earlier)) {
        std::fprintf(stderr, "settings byte 0x%02X: not as the model says\n", byte);
        std::abort();
    }
    return 0;
}
