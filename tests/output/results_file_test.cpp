#include "results_file.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace alearo {
namespace {

using ResultsFile = ScratchFolder;

RollState StateWithCount(int count) {
    RollState state;
    for (int slot = 1; slot < kResultSlots; ++slot) {
        state.m_pResultLines[slot] = "Result #" + std::to_string(slot);
        state.m_pTotals[slot] = slot - 3;
    }
    state.m_nResultCount = static_cast<std::int16_t>(count);
    return state;
}

TEST_F(ResultsFile, WritesTheChosenFormatInTheWorkingFolder) {
    const RollState state = StateWithCount(3);
    ASSERT_TRUE(WriteResults(state, false));
    EXPECT_EQ(ReadFile("Results.txt"), "Result #1\r\nResult #2\r\nResult #3\r\n");
    ASSERT_TRUE(WriteResults(state, true));
    EXPECT_EQ(ReadFile("Results.txt"), "-2\r\n-1\r\n0\r\n");
}

TEST_F(ResultsFile, ReplacesTheWholeOldFile) {
    ASSERT_TRUE(WriteResults(StateWithCount(100), false));
    const RollState ten = StateWithCount(10);
    ASSERT_TRUE(WriteResults(ten, false));
    EXPECT_EQ(ReadFile("Results.txt"), FormatNormalResults(ten));

    ASSERT_TRUE(WriteResults(StateWithCount(0), false));
    EXPECT_TRUE(std::filesystem::exists("Results.txt"));
    EXPECT_EQ(ReadFile("Results.txt"), "");
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(ResultsFile, ReadOnlyFileFailsAndIsKept) {
    WriteFile("Results.txt", "old results\r\n");
    ASSERT_EQ(::chmod("Results.txt", 0444), 0);
    EXPECT_FALSE(WriteResults(StateWithCount(5), false));
    EXPECT_EQ(ReadFile("Results.txt"), "old results\r\n");
    EXPECT_EQ(PermissionsOf("Results.txt"), 0444u);
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(ResultsFile, DirectoryInTheWayFails) {
    std::filesystem::create_directory("Results.txt");
    EXPECT_FALSE(WriteResults(StateWithCount(5), true));
    EXPECT_TRUE(std::filesystem::is_directory("Results.txt"));
    EXPECT_TRUE(std::filesystem::is_empty("Results.txt"));
    EXPECT_EQ(EntryCount(), 1);
}

TEST_F(ResultsFile, FullDiskFailsAndKeepsTheOldFile) {
    WriteFile("Results.txt", "old results\r\n");
    const RollState hundred = StateWithCount(100);
    EXPECT_EQ(RunWithFileSizeLimit(200, [&] { return WriteResults(hundred, false); }), 1);
    EXPECT_EQ(ReadFile("Results.txt"), "old results\r\n");
    EXPECT_EQ(EntryCount(), 1);

    // With room enough the same child succeeds, so the failure was the disk's.
    EXPECT_EQ(RunWithFileSizeLimit(1 << 20, [&] { return WriteResults(hundred, false); }), 0);
    EXPECT_EQ(ReadFile("Results.txt"), FormatNormalResults(hundred));
}

}  // namespace
}  // namespace alearo
