#include <algorithm>

#include "output/results_file.h"

namespace alearo {

namespace {

constexpr int kColumnRows = 47;
constexpr int kContinuedFrom = 2 * kColumnRows + 1;
constexpr const char* kColumnSeparator = "                ";  // 16 spaces
constexpr const char* kContinuedMarker = "Continued...";
constexpr const char* kLineEnd = "\r\n";

// The count bounded by the tables, so that no count can read past them.
int StoredCount(const RollState& state) {
    return std::min(static_cast<int>(state.m_nResultCount), kMaxResults);
}

}  // namespace

std::string FormatNormalResults(const RollState& state) {
    const int count = StoredCount(state);
    const auto& lines = state.m_pResultLines;
    std::string text;
    for (int row = 1; row <= std::min(count, kColumnRows); ++row) {
        text += lines[row];
        const int besideSlot = row + kColumnRows;
        if (besideSlot <= count) {
            text += kColumnSeparator;
            text += lines[besideSlot];
        }
        text += kLineEnd;
    }
    if (count >= kContinuedFrom) {
        text += kContinuedMarker;
        text += kLineEnd;
        for (int slot = kContinuedFrom; slot <= count; ++slot) {
            text += lines[slot];
            text += kLineEnd;
        }
    }
    return text;
}

std::string FormatNumbersOnlyResults(const RollState& state) {
    const int count = StoredCount(state);
    std::string text;
    for (int slot = 1; slot <= count; ++slot) {
        text += std::to_string(state.m_pTotals[slot]);
        text += kLineEnd;
    }
    return text;
}

}  // namespace alearo
