// SPDX-License-Identifier: MIT
#include "output/page_layout.h"

#include "engine/texts.h"

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

std::vector<PageItem> LayoutResultsPage(const std::vector<RollResult>& results) {
    const int count = static_cast<int>(results.size());
    const auto line = [&results](int number) {
        return ResultLine(number, results[static_cast<std::size_t>(number - 1)]);
    };
    std::vector<PageItem> items;
    items.reserve(results.size() + 1);
    items.push_back({0, kTitleX, kTitleY, kPageTitle});

    int y = kFirstRowY;
    for (int row = 1; row <= count && y > kLowestRowLimitY; ++row, y -= kRowHeight) {
        items.push_back({row, kFirstColumnX, y, line(row)});
        const int beside = row + kSecondColumnOffset;
        if (beside <= count) {
            items.push_back({beside, kSecondColumnX, y, line(beside)});
        }
    }
    return items;
}

}  // namespace alearo
