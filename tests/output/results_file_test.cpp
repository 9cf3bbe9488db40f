#include "results_file.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "file_replace.h"
#include "scratch_folder.h"

namespace alearo {
namespace {

namespace fs = std::filesystem;

// Every slot holds a line and the total slot - 3, so a slot read beyond the
// count shows in the text.
RollState StateWithCount(int count) {
    RollState state;
    for (int slot = 1; slot < kResultSlots; ++slot) {
        state.m_pResultLines[slot] = "line " + std::to_string(slot);
        state.m_pTotals[slot] = slot - 3;
    }
    state.m_nResultCount = static_cast<std::int16_t>(count);
    return state;
}

// The expected file built column by column: slots 1 to 47 down the first
// column, 48 to 94 down the second, the rest listed after the marker.
std::string ExpectedNormalText(int count) {
    std::vector<std::string> rows;
    for (int slot = 1; slot <= std::min(count, 47); ++slot) {
        rows.push_back("line " + std::to_string(slot));
    }
    for (int slot = 48; slot <= std::min(count, 94); ++slot) {
        rows[slot - 48] += std::string(16, ' ') + "line " + std::to_string(slot);
    }
    if (count >= 95) {
        rows.push_back("Continued...");
    }
    for (int slot = 95; slot <= std::min(count, 100); ++slot) {
        rows.push_back("line " + std::to_string(slot));
    }
    std::string text;
    for (const std::string& row : rows) {
        text += row + "\r\n";
    }
    return text;
}

TEST(ResultsFormat, BothFormatsHoldExactlyTheSlotsOfTheCount) {
    for (const int count : {-32768, 0, 1, 47, 48, 94, 95, 100, 150}) {
        SCOPED_TRACE(count);
        const RollState state = StateWithCount(count);
        EXPECT_EQ(FormatNormalResults(state), ExpectedNormalText(count));
        std::string numbers;  // negative totals and zero in plain decimal
        for (int slot = 1; slot <= std::min(count, 100); ++slot) {
            numbers += std::to_string(slot - 3) + "\r\n";
        }
        EXPECT_EQ(FormatNumbersOnlyResults(state), numbers);
    }
}

TEST(ResultsFormat, DroppedDieLinesKeepTheirOwnWidth) {
    RollState state = StateWithCount(48);
    state.m_pResultLines[1] = "Result #  1:        15 (2 drpd)";
    state.m_pResultLines[48] = "Result # 48:        -3 (10 drpd)";
    const std::string text = FormatNormalResults(state);
    EXPECT_EQ(text.substr(0, text.find("\r\n") + 2),
              "Result #  1:        15 (2 drpd)                "
              "Result # 48:        -3 (10 drpd)\r\n");
}

using ResultsFile = ScratchFolder;

TEST_F(ResultsFile, ReplacesTheWholeOldFile) {
    ASSERT_TRUE(WriteResults(StateWithCount(100), false));
    ASSERT_TRUE(WriteResults(StateWithCount(10), false));
    EXPECT_EQ(ReadFile(kResultsFileName), ExpectedNormalText(10));

    ASSERT_TRUE(WriteResults(StateWithCount(0), true));
    EXPECT_TRUE(fs::is_regular_file(kResultsFileName));
    EXPECT_EQ(ReadFile(kResultsFileName), "");
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(ResultsFile, FailuresKeepWhatIsInTheWay) {
    const RollState hundred = StateWithCount(100);
    const auto write = [&] { return WriteResults(hundred, false); };
    WriteFile(kResultsFileName, "old results\r\n");
    EXPECT_EQ(RunWithFileSizeLimit(200, write), 1) << "full disk";
    EXPECT_EQ(ReadFile(kResultsFileName), "old results\r\n");
    EXPECT_EQ(EntryCount(), 1);
    // With room enough the same child succeeds, so the failure was the disk's.
    EXPECT_EQ(RunWithFileSizeLimit(1 << 20, write), 0);
    EXPECT_EQ(ReadFile(kResultsFileName), FormatNormalResults(hundred));

    WriteFile(kResultsFileName, "old results\r\n");
    ASSERT_EQ(::chmod(kResultsFileName, 0444), 0);
    EXPECT_FALSE(write()) << "read-only file";
    EXPECT_EQ(ReadFile(kResultsFileName), "old results\r\n");
    EXPECT_EQ(PermissionsOf(kResultsFileName), 0444U);

    fs::remove(kResultsFileName);
    fs::create_directory(kResultsFileName);
    EXPECT_FALSE(write()) << "directory in the way";
    EXPECT_TRUE(fs::is_empty(kResultsFileName));
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(ResultsFile, ReplacingKeepsPermissionsAndLinks) {
    WriteFile("real.txt", "old");
    ASSERT_EQ(::chmod("real.txt", 0640), 0);
    fs::create_symlink("real.txt", kResultsFileName);
    ASSERT_TRUE(ReplaceFileContents(kResultsFileName, "new"));
    EXPECT_TRUE(fs::is_symlink(kResultsFileName));
    EXPECT_EQ(ReadFile("real.txt"), "new");
    EXPECT_EQ(PermissionsOf("real.txt"), 0640U);
    EXPECT_EQ(EntryCount(), 2);
}

TEST_F(ResultsFile, ClosedFolderRewritesAWritableFileInPlace) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may create files in any folder";
    }
    WriteFile(kResultsFileName, "old contents");
    ASSERT_EQ(::chmod(".", 0500), 0);
    EXPECT_TRUE(ReplaceFileContents(kResultsFileName, "new"));
    EXPECT_EQ(ReadFile(kResultsFileName), "new");
    EXPECT_FALSE(ReplaceFileContents("Other.txt", "new"));
}

}  // namespace
}  // namespace alearo
