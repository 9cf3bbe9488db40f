#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/roll.h"
#include "engine/text_format.h"
#include "output/page_layout.h"
#include "output/results_file.h"
#include "test_files.h"

namespace alearo {

namespace fs = std::filesystem;

// Both results formats and the printed page for counts around each boundary
// (the second column, the continuation, the end of the tables), with a line
// in each slot as a Roll would leave it. Every fifth slot has a dropped die,
// so that lines of both widths show. Each count's heading also shows what the
// guard of the output commands says.
TEST(GoldenText, ResultsFilesAndPageHoldExactlyTheSlotsOfTheCount) {
    RollState state;
    for (int slot = 1; slot < kResultSlots; ++slot) {
        state.m_pTotals[slot] = slot - 3;
        state.m_pResultLines[slot] = slot % 5 == 0 ? FormatResultLine(slot, slot - 3, slot / 5)
                                                   : FormatResultLine(slot, slot - 3);
    }
    std::string normal, numbers, page;
    for (const int count : {-1, 0, 1, 94, 95, 150}) {
        state.m_nResultCount = static_cast<std::int16_t>(count);
        const std::string heading = FormatText("count %d, guard %d:\n", count, HasResults(state));
        normal += heading + FormatNormalResults(state);
        numbers += heading + FormatNumbersOnlyResults(state);
        page += heading;
        for (const PageItem& item : LayoutResultsPage(state.m_pResultLines, count)) {
            AppendFormat(page, "%d at %d,%d: %s\n", item.slot, item.x, item.y, item.text.c_str());
        }
    }
    state.m_pResultLines[1].clear();
    EXPECT_FALSE(HasResults(state)) << "no line in slot 1";
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/results_normal.txt", normal);
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/results_numbers_only.txt", numbers);
    ExpectGoldenText(ALEARO_GOLDEN_DIR "/page.txt", page);
}

using ResultsFile = ScratchFolder;

// Each row puts a file holding "old" where Results.txt belongs, directly or
// behind a symbolic link, and writes a Roll of 100 over it while a file may
// hold `room` bytes (a full disk when that is too few).
TEST_F(ResultsFile, ReplacesTheWholeFileOrLeavesTheOldOneUntouched) {
    RollState state;
    state.m_nResultCount = 100;
    std::signal(SIGXFSZ, SIG_IGN);
    // behind a link, the mode, the room, whether it is written
    const std::tuple<bool, int, rlim_t, bool> rows[] = {
        {false, 0640, RLIM_INFINITY, true},   // the permission bits stay
        {false, 0444, RLIM_INFINITY, false},  // read-only, even for root
        {false, 0644, 200, false},            // a full disk: no file may grow past 200 bytes
        {true, 0604, RLIM_INFINITY, true},    // the file linked to is replaced, the link stays
    };
    for (const auto& [link, mode, room, written] : rows) {
        SCOPED_TRACE(mode);
        const char* const target = link ? "target" : kResultsFileName;
        std::ofstream(target) << "old";
        fs::permissions(target, fs::perms(mode));
        if (link) {
            fs::create_symlink(target, kResultsFileName);
        }
        const rlimit limited{room, RLIM_INFINITY}, unlimited{RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limited);
        EXPECT_EQ(WriteResults(state, false), written);
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ(ReadFile(target), written ? FormatNormalResults(state) : "old");
        EXPECT_EQ(fs::status(target).permissions(), fs::perms(mode));
        EXPECT_EQ(fs::is_symlink(kResultsFileName), link);
        EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), link ? 2 : 1) << "a leftover";
        fs::remove(kResultsFileName);
    }
    ASSERT_TRUE(WriteResults(state, true));
    EXPECT_EQ(ReadFile(kResultsFileName), FormatNumbersOnlyResults(state));
}

}  // namespace alearo
