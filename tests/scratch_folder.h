#pragma once

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace alearo {

// A fresh folder that is the working folder for one test and is removed
// afterwards.
class ScratchFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string name = (std::filesystem::temp_directory_path() / "alearo-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(name.data()), nullptr);
        folder_ = name;
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        ::chmod(folder_.c_str(), 0700);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static mode_t PermissionsOf(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    }
    // Number of entries in the folder, to catch leftovers of a failed write.
    int EntryCount() const {
        const std::filesystem::directory_iterator entries(folder_);
        return static_cast<int>(std::distance(begin(entries), end(entries)));
    }

    // Runs `write` in a child process whose files may not grow past
    // `maxBytes`, as on a full disk. The child exits with 0 when `write`
    // returns true and 1 when it returns false; -1 means the child failed.
    static int RunWithFileSizeLimit(rlim_t maxBytes, const std::function<bool()>& write) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{maxBytes, maxBytes};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                ::_exit(2);
            }
            ::_exit(write() ? 0 : 1);
        }
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
            return -1;
        }
        return WEXITSTATUS(status);
    }

  private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};

}  // namespace alearo
