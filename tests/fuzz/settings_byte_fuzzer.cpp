// Applies any settings byte to a record with any earlier contents and stops at
// the first difference from the plain model of the byte's layout: in the
// fields the byte sets, in any field it must leave alone, or in the byte
// written back.
//
// Input: the last byte is the settings byte; the bytes before it fill the
// earlier record.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <tuple>

#include <fuzzer/FuzzedDataProvider.h>

#include "settings_byte.h"
#include "settings_byte_model.h"

namespace {

using alearo::RollState;

RollState EarlierRecord(FuzzedDataProvider& input) {
    // Sides of a real die half the time, so that writing a known die is
    // exercised as much as the fallback to d6.
    constexpr int kRealSides[] = {4, 6, 8, 10, 12, 20, 100};
    RollState state;
    state.m_bNoInstantUpdate = input.ConsumeBool();
    state.m_bNoRollsBelowOne = input.ConsumeBool();
    state.m_bDropLowest = input.ConsumeBool();
    state.m_bySettings = input.ConsumeIntegral<std::uint8_t>();
    state.m_nDieTypeIndex = input.ConsumeIntegral<int>();
    state.m_nDieSides =
        input.ConsumeBool() ? input.PickValueInArray(kRealSides) : input.ConsumeIntegral<int>();
    state.m_nMatchCount = input.ConsumeIntegral<std::int16_t>();
    state.m_nResultCount = input.ConsumeIntegral<std::int16_t>();
    state.m_pTotals[1] = input.ConsumeIntegral<int>();
    state.m_nCheckMode = input.ConsumeIntegral<int>();
    state.m_nCheckTarget = input.ConsumeIntegral<std::int16_t>();
    state.m_nDice = input.ConsumeIntegral<std::int16_t>();
    state.m_nTotalModifier = input.ConsumeIntegral<std::int16_t>();
    state.m_nRolls = input.ConsumeIntegral<std::int16_t>();
    state.m_nEachModifier = input.ConsumeIntegral<std::int16_t>();
    state.m_strHeader = input.ConsumeRandomLengthString(16);
    state.m_pResultLines[1] = input.ConsumeRandomLengthString(16);
    state.m_strResults = input.ConsumeRemainingBytesAsString();
    return state;
}

auto AllFields(const RollState& s) {
    return std::tie(s.m_bNoInstantUpdate, s.m_bNoRollsBelowOne, s.m_bDropLowest, s.m_bySettings,
                    s.m_nMatchCount, s.m_pTotals, s.m_nResultCount, s.m_pResultLines,
                    s.m_nDieTypeIndex, s.m_nDieSides, s.m_strResults, s.m_strHeader, s.m_nCheckMode,
                    s.m_nCheckTarget, s.m_strCheckResult, s.m_nDice, s.m_nTotalModifier, s.m_nRolls,
                    s.m_nEachModifier);
}

void PrintSettingsFields(const char* label, const RollState& s) {
    std::fprintf(stderr, "  %-6s options %d%d%d, m_bySettings 0x%02X, sides %d, index %d\n", label,
                 s.m_bNoInstantUpdate, s.m_bNoRollsBelowOne, s.m_bDropLowest, s.m_bySettings,
                 s.m_nDieSides, s.m_nDieTypeIndex);
}

void CheckWrite(const RollState& state, const char* when) {
    const std::uint8_t written = alearo::EncodeSettings(state);
    const std::uint8_t expected = settings_byte_model::Write(state);
    if (written != expected) {
        std::fprintf(stderr, "EncodeSettings %s gave 0x%02X, the model 0x%02X\n", when, written,
                     expected);
        PrintSettingsFields("record", state);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto byte = input.ConsumeIntegral<std::uint8_t>();
    const RollState earlier = EarlierRecord(input);

    // Any sides, known or not, are written as some die of the table.
    CheckWrite(earlier, "of the earlier record");

    RollState applied = earlier;
    alearo::ApplySettingsByte(applied, byte);

    // The earlier record with just the fields the byte sets replaced.
    RollState expected = earlier;
    const settings_byte_model::Decoded decoded = settings_byte_model::Read(byte);
    expected.m_bNoInstantUpdate = decoded.noInstantUpdate;
    expected.m_bNoRollsBelowOne = decoded.noRollsBelowOne;
    expected.m_bDropLowest = decoded.dropLowest;
    expected.m_bySettings = byte;
    expected.m_nDieSides = decoded.dieSides;
    expected.m_nDieTypeIndex = decoded.dieTypeIndex;
    if (AllFields(applied) != AllFields(expected)) {
        std::fprintf(stderr, "ApplySettingsByte(0x%02X) differs from the model\n", byte);
        PrintSettingsFields("got", applied);
        PrintSettingsFields("model", expected);
        std::fprintf(stderr, "  (when these agree, a field the byte does not hold changed)\n");
        std::abort();
    }

    // What was read is written back in the one canonical form.
    CheckWrite(applied, "after the byte was applied");
    return 0;
}
