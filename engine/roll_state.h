#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace alearo {

// The most rolls one Roll may store; slot k of each table belongs to roll k.
constexpr int kMaxResults = 100;
constexpr int kResultSlots = kMaxResults + 1;  // slot 0 is never used

// Everything the main window shows and remembers. The field order and widths
// are part of the program's contract: the 16-bit fields wrap and compare as
// signed 16-bit numbers wherever a value is typed into them.
struct RollState {
    bool m_bNoInstantUpdate = false;
    bool m_bNoRollsBelowOne = false;
    bool m_bDropLowest = false;
    std::uint8_t m_bySettings = 0;
    std::int16_t m_nMatchCount = 0;
    std::array<int, kResultSlots> m_pTotals{};
    std::int16_t m_nResultCount = 0;
    std::array<std::string, kResultSlots> m_pResultLines{};
    int m_nDieTypeIndex = 1;
    int m_nDieSides = 6;
    std::string m_strResults;
    std::string m_strHeader = "Results";
    int m_nCheckMode = -1;
    std::int16_t m_nCheckTarget = 0;
    std::string m_strCheckResult;
    std::int16_t m_nDice = 1;
    std::int16_t m_nTotalModifier = 0;
    std::int16_t m_nRolls = 1;
    std::int16_t m_nEachModifier = 0;
};

}  // namespace alearo
