// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "engine/roll.h"
#include "engine/text_format.h"
#include "output/page_layout.h"
#include "output/results_file.h"
#include "test_files.h"

namespace alearo {

// Both results formats and the printed page for counts around each boundary
// (the second column, the continuation, the end of a Roll), with a result
// for each roll. Every fifth roll has a dropped die, so that lines of both
// widths show.
TEST(GoldenText, ResultsFilesAndPageHoldEveryRollInPlace) {
    std::string normal, numbers, page;
    for (const int count : {0, 1, 94, 95, 100}) {
        std::vector<RollResult> results;
        for (int number = 1; number <= count; ++number) {
            const bool dropped = number % 5 == 0;
            results.push_back({{number / 5, 9}, dropped ? 0 : -1, number - 3});
        }
        const std::string heading = FormatText("count %d:\n", count);
        normal += heading + ResultsFileText(results, ResultsFormat::kNormal);
        numbers += heading + ResultsFileText(results, ResultsFormat::kNumbersOnly);
        page += heading;
        for (const PageItem& item : LayoutResultsPage(results)) {
            AppendFormat(page, "%d at %d,%d: %s\n", item.number, item.x, item.y, item.text.c_str());
        }
    }
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/results_normal.txt", normal);
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/results_numbers_only.txt", numbers);
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/page.txt", page);
}

}  // namespace alearo
