#include "page_layout.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace alearo {
namespace {

using Placed = std::tuple<int, int, int, std::string>;  // slot, x, y, text

// Where each slot belongs, derived slot by slot (1 to 50 down the left column
// 4 mm apart from 28 mm, 51 to 100 down the right), in reading order: top to
// bottom, left before right.
std::vector<Placed> ExpectedPage(int count) {
    std::vector<Placed> placed;
    for (int slot = 1; slot <= std::min(count, 100); ++slot) {
        const bool right = slot > 50;
        placed.emplace_back(slot, right ? 1200 : 200, -280 - 40 * (slot - (right ? 51 : 1)),
                            "line " + std::to_string(slot));
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return std::make_pair(-std::get<2>(a), std::get<1>(a)) <
               std::make_pair(-std::get<2>(b), std::get<1>(b));
    });
    placed.insert(placed.begin(), Placed{0, 770, -160, "Alearo Results"});
    return placed;
}

TEST(PageLayout, PlacesEachSlotOfTheCountAndNoOther) {
    std::array<std::string, kResultSlots> lines;
    for (int slot = 1; slot < kResultSlots; ++slot) {
        lines[slot] = "line " + std::to_string(slot);
    }
    for (const int count : {-32768, 0, 1, 50, 51, 60, 100, 150}) {
        std::vector<Placed> placed;
        for (const PageItem& item : LayoutResultsPage(lines, count)) {
            placed.emplace_back(item.slot, item.x, item.y, item.text);
        }
        EXPECT_EQ(placed, ExpectedPage(count)) << count;
    }
}

}  // namespace
}  // namespace alearo
