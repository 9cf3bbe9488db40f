// SPDX-License-Identifier: MIT
// Reads any settings byte and writes any settings, and stops at the first
// difference from the plain model of the byte's layout.
//
// Input: the first byte is the settings byte, the second the options to
// write and the bytes after that the die index to write.

#include <cstdio>
#include <cstdlib>

#include <fuzzer/FuzzedDataProvider.h>

#include "settings_byte_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto byte = input.ConsumeIntegral<std::uint8_t>();
    const auto options = input.ConsumeIntegral<std::uint8_t>();
    const alearo::Settings other{{(options & 1) != 0, (options & 2) != 0, (options & 4) != 0},
                                 input.ConsumeIntegral<int>()};
    if (!settings_byte_model::ProgramAgrees(byte, other)) {
        std::fprintf(stderr, "settings byte 0x%02X: not as the model says\n", byte);
        std::abort();
    }
    return 0;
}
