#include "file_replace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace alearo {
namespace {

namespace fs = std::filesystem;

using ResultsFileReplace = ScratchFolder;

TEST_F(ResultsFileReplace, KeepsPermissionsOfTheOldFile) {
    WriteFile("Results.txt", "old");
    ASSERT_EQ(::chmod("Results.txt", 0640), 0);
    ASSERT_TRUE(ReplaceFileContents("Results.txt", "new"));
    EXPECT_EQ(ReadFile("Results.txt"), "new");
    EXPECT_EQ(PermissionsOf("Results.txt"), 0640u);
}

TEST_F(ResultsFileReplace, NewFileTakesTheUmask) {
    const mode_t previous = ::umask(027);
    const bool written = ReplaceFileContents("Results.txt", "new");
    ::umask(previous);
    ASSERT_TRUE(written);
    EXPECT_EQ(PermissionsOf("Results.txt"), 0640u);
}

TEST_F(ResultsFileReplace, ReplacesTheFileALinkPointsTo) {
    fs::create_directory("data");
    WriteFile("data/real.txt", "old");
    fs::create_symlink("data/real.txt", "Results.txt");
    ASSERT_TRUE(ReplaceFileContents("Results.txt", "new"));
    EXPECT_TRUE(fs::is_symlink("Results.txt"));
    EXPECT_EQ(ReadFile("data/real.txt"), "new");
    EXPECT_EQ(EntryCount(), 2);

    // A dangling link is written through as well, creating its target.
    fs::create_symlink("data/missing.txt", "dangling.txt");
    ASSERT_TRUE(ReplaceFileContents("dangling.txt", "created"));
    EXPECT_TRUE(fs::is_symlink("dangling.txt"));
    EXPECT_EQ(ReadFile("data/missing.txt"), "created");
}

TEST_F(ResultsFileReplace, LinkLoopFails) {
    fs::create_symlink("b", "a");
    fs::create_symlink("a", "b");
    EXPECT_FALSE(ReplaceFileContents("a", "new"));
}

TEST_F(ResultsFileReplace, ClosedFolderRewritesAWritableFileInPlace) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may create files in any folder";
    }
    WriteFile("Results.txt", "old contents");
    ASSERT_EQ(::chmod(".", 0500), 0);
    EXPECT_TRUE(ReplaceFileContents("Results.txt", "new"));
    EXPECT_EQ(ReadFile("Results.txt"), "new");
    EXPECT_FALSE(ReplaceFileContents("Other.txt", "new"));
}

}  // namespace
}  // namespace alearo
