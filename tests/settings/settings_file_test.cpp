#include "settings_file.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "die_types.h"

namespace alearo {
namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh folder of its own, which is the working folder
// for its duration and is removed afterwards.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "alearo-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        folder_ = name;
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    static void WriteBytes(const std::string& bytes) {
        std::ofstream(kSettingsFileName, std::ios::binary) << bytes;
    }
    static std::string ReadBytes() {
        std::ifstream in(kSettingsFileName, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

  private:
    fs::path folder_;
    fs::path previous_;
};

RollState StateWithD12AndDropLowest() {
    RollState state;
    SelectDieType(state, 4);
    state.m_bDropLowest = true;
    state.m_bySettings = 0x2C;
    return state;
}

void ExpectUnchanged(const RollState& state) {
    EXPECT_EQ(state.m_nDieSides, 12);
    EXPECT_EQ(state.m_nDieTypeIndex, 4);
    EXPECT_TRUE(state.m_bDropLowest);
    EXPECT_FALSE(state.m_bNoInstantUpdate);
    EXPECT_EQ(state.m_bySettings, 0x2C);
}

// Runs SaveSettings in a child process whose files may not grow past
// `maxBytes`, as on a full disk; the child exits with 0 for true, 1 for false.
int SaveWithFileSizeLimit(rlim_t maxBytes) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{maxBytes, maxBytes};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(2);
        }
        RollState state;
        ::_exit(SaveSettings(state) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST_F(SettingsFile, MissingOrUnreadableFileChangesNothing) {
    RollState state = StateWithD12AndDropLowest();
    EXPECT_FALSE(LoadSettings(state));
    ExpectUnchanged(state);

    fs::create_directory(kSettingsFileName);
    EXPECT_FALSE(LoadSettings(state));
    ExpectUnchanged(state);
}

TEST_F(SettingsFile, EmptyFileLoadsTheByteAlreadyHeld) {
    WriteBytes("");
    RollState fresh;
    SelectDieType(fresh, 4);
    EXPECT_TRUE(LoadSettings(fresh));
    EXPECT_EQ(fresh.m_nDieSides, 6);
    EXPECT_EQ(fresh.m_bySettings, 0);

    RollState held = StateWithD12AndDropLowest();
    held.m_bySettings = 0x3F;
    EXPECT_TRUE(LoadSettings(held));
    EXPECT_EQ(held.m_bySettings, 0x3F);
    EXPECT_EQ(held.m_nDieSides, 100);
    EXPECT_TRUE(held.m_bNoInstantUpdate);
}

TEST_F(SettingsFile, OnlyTheFirstByteCounts) {
    WriteBytes("\x34\x3F");
    RollState state;
    EXPECT_TRUE(LoadSettings(state));
    EXPECT_EQ(state.m_bySettings, 0x34);
    EXPECT_EQ(state.m_nDieSides, 20);
    EXPECT_EQ(state.m_nDieTypeIndex, 5);
    EXPECT_TRUE(state.m_bDropLowest);
    EXPECT_FALSE(state.m_bNoRollsBelowOne);
}

TEST_F(SettingsFile, SaveWritesExactlyOneByteOverAnyOldFile) {
    WriteBytes("old settings");
    RollState state;
    EXPECT_TRUE(SaveSettings(state));
    EXPECT_EQ(ReadBytes(), std::string("\x10"));
    EXPECT_EQ(state.m_bySettings, 0x10);

    SelectDieType(state, 5);
    state.m_bDropLowest = true;
    EXPECT_TRUE(SaveSettings(state));
    EXPECT_EQ(ReadBytes(), std::string("\x34"));

    RollState loaded;
    EXPECT_TRUE(LoadSettings(loaded));
    EXPECT_EQ(loaded.m_nDieSides, 20);
    EXPECT_TRUE(loaded.m_bDropLowest);
}

TEST_F(SettingsFile, SaveToADirectoryFails) {
    fs::create_directory(kSettingsFileName);
    RollState state;
    EXPECT_FALSE(SaveSettings(state));
    EXPECT_TRUE(fs::is_directory(kSettingsFileName));
}

TEST_F(SettingsFile, SaveOnAFullDiskFails) {
    EXPECT_EQ(SaveWithFileSizeLimit(0), 1);
    // The same child succeeds once the byte fits, so the failure above is the
    // write's own.
    EXPECT_EQ(SaveWithFileSizeLimit(1), 0);
    EXPECT_EQ(ReadBytes(), std::string("\x10"));
}

}  // namespace
}  // namespace alearo
