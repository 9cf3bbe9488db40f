#include "page_layout.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace alearo {
namespace {

using Placed = std::tuple<int, int, int, std::string>;  // slot, x, y, text

std::array<std::string, kResultSlots> AllSlotsFilled() {
    std::array<std::string, kResultSlots> lines;
    for (int slot = 1; slot < kResultSlots; ++slot) {
        lines[slot] = "line " + std::to_string(slot);
    }
    return lines;
}

std::vector<Placed> Flatten(const std::vector<PageItem>& items) {
    std::vector<Placed> placed;
    for (const PageItem& item : items) {
        placed.emplace_back(item.slot, item.x, item.y, item.text);
    }
    return placed;
}

// Where each slot belongs on the page, derived slot by slot (slots 1 to 50
// down the left column 4 mm apart from 28 mm, 51 to 100 down the right), then
// put into reading order: top to bottom, left before right.
std::vector<Placed> ExpectedPage(int count) {
    std::vector<Placed> rows;
    for (int slot = 1; slot <= count; ++slot) {
        const bool right = slot > 50;
        const int row = right ? slot - 50 : slot;
        rows.emplace_back(slot, right ? 1200 : 200, -280 - 40 * (row - 1),
                          "line " + std::to_string(slot));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Placed& a, const Placed& b) {
        return std::get<2>(a) > std::get<2>(b) ||
               (std::get<2>(a) == std::get<2>(b) && std::get<1>(a) < std::get<1>(b));
    });
    rows.insert(rows.begin(), Placed{0, 770, -160, "Alearo Results"});
    return rows;
}

TEST(PageLayout, PlacesEachSlotOfTheCount) {
    const auto lines = AllSlotsFilled();
    for (const int count : {1, 2, 50, 51, 60, 100}) {
        SCOPED_TRACE(count);
        EXPECT_EQ(Flatten(LayoutResultsPage(lines, count)), ExpectedPage(count));
    }
}

TEST(PageLayout, KnownPositions) {
    const auto lines = AllSlotsFilled();
    const std::vector<Placed> fifty = Flatten(LayoutResultsPage(lines, 50));
    ASSERT_EQ(fifty.size(), 51u);
    EXPECT_EQ(fifty.back(), (Placed{50, 200, -2240, "line 50"}));

    const std::vector<Placed> fiftyOne = Flatten(LayoutResultsPage(lines, 51));
    ASSERT_EQ(fiftyOne.size(), 52u);
    EXPECT_EQ(fiftyOne[1], (Placed{1, 200, -280, "line 1"}));
    EXPECT_EQ(fiftyOne[2], (Placed{51, 1200, -280, "line 51"}));
    EXPECT_EQ(fiftyOne[3], (Placed{2, 200, -320, "line 2"}));
}

TEST(PageLayout, NeverPlacesASlotAboveTheCount) {
    const auto lines = AllSlotsFilled();
    for (const int count : {0, -1, -32768}) {
        EXPECT_EQ(Flatten(LayoutResultsPage(lines, count)), ExpectedPage(0)) << count;
    }
    EXPECT_EQ(Flatten(LayoutResultsPage(lines, 150)), ExpectedPage(100));
}

}  // namespace
}  // namespace alearo
