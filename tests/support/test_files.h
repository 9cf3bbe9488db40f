// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace alearo {

// The bytes of a file; empty for a missing file or a folder.
inline std::string ReadFile(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// Compares `text` with the golden file at `path`, carriage returns shown as \r
// so that golden files are plain text. With ALEARO_UPDATE_GOLDEN=1 in the
// environment a golden file that differs is rewritten instead, to be reviewed
// as a change like any other, and the test still fails: no run passes by
// writing its own answer.
inline void ExpectGoldenText(const std::string& path, const std::string& text) {
    const std::string visible = std::regex_replace(text, std::regex("\r"), "\\r");
    const char* update = std::getenv("ALEARO_UPDATE_GOLDEN");
    const std::string golden = ReadFile(path);
    if (update != nullptr && std::string(update) == "1" && visible != golden) {
        std::ofstream(path, std::ios::binary) << visible;
        ADD_FAILURE() << "rewrote " << path;
        return;
    }
    EXPECT_EQ(visible, golden) << path;
}

// A fresh folder that is the working folder for one test and is removed
// afterwards.
class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = (std::filesystem::temp_directory_path() / "alearo-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        std::filesystem::current_path(m_folder = name);
    }
    void TearDown() override {
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(m_folder);
    }
    std::filesystem::path m_folder;
};

}  // namespace alearo
