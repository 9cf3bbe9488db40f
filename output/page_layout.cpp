#include "output/page_layout.h"

#include <algorithm>

namespace alearo {

namespace {

constexpr int kTitleX = 770;
constexpr int kTitleY = -160;
constexpr int kFirstColumnX = 200;
constexpr int kSecondColumnX = 1200;
constexpr int kFirstRowY = -280;
constexpr int kRowHeight = 40;
// A row at or below this would leave the page, which ends the first column
// after 50 rows.
constexpr int kLowestRowLimitY = -2280;
constexpr int kSecondColumnOffset = 50;

}  // namespace

std::vector<PageItem> LayoutResultsPage(const std::array<std::string, kResultSlots>& lines,
                                        int count) {
    count = std::min(count, kMaxResults);
    std::vector<PageItem> items;
    items.reserve(static_cast<std::size_t>(std::max(count, 0)) + 1);
    items.push_back({0, kTitleX, kTitleY, kPageTitle});

    int y = kFirstRowY;
    for (int row = 1; row <= count && y > kLowestRowLimitY; ++row, y -= kRowHeight) {
        items.push_back({row, kFirstColumnX, y, lines[row]});
        const int besideSlot = row + kSecondColumnOffset;
        if (besideSlot <= count) {
            items.push_back({besideSlot, kSecondColumnX, y, lines[besideSlot]});
        }
    }
    return items;
}

}  // namespace alearo
