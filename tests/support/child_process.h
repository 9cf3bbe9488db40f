// SPDX-License-Identifier: MIT
#pragma once

#include <grp.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "test_files.h"

namespace alearo {

constexpr uid_t kNobody = 65534;
constexpr int kSkippedStatus = 1;

// Runs `body` in a child process, so that the user, mounts and refused calls
// it sets for itself end with it; its failures and skips show here.
inline void RunInChild(const std::function<void()>& body) {
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        testing::TestPartResultArray results;
        {
            testing::ScopedFakeTestPartResultReporter reporter(&results);
            try {
                body();
            } catch (const std::exception& error) {
                ADD_FAILURE() << error.what();
            }
        }
        // Written to the pipe it has, which a user the child became may not open again.
        std::ostringstream report;
        int status = 0;
        for (int i = 0; i < results.size(); ++i) {
            report << results.GetTestPartResult(i) << "\n";
            status = std::max(status, results.GetTestPartResult(i).failed() ? 2 : kSkippedStatus);
        }
        const std::string text = report.str();
        if (::write(channel[1], text.data(), text.size()) < 0) {
            status = 2;
        }
        ::_exit(status);
    }
    ::close(channel[1]);
    const std::string report = ReadFile("/dev/fd/" + std::to_string(channel[0]));
    ::close(channel[0]);
    int status = -1;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kSkippedStatus) {
        GTEST_SKIP() << report;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status << "\n" << report;
}

// As root, gives the working folder to user nobody and becomes nobody, so
// that permissions hold as for any user.
inline bool BecomeNobody() {
    return ::getuid() != 0 ||
           (::chown(".", kNobody, kNobody) == 0 && ::setgroups(0, nullptr) == 0 &&
            ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0);
}

// A tmpfs of `size` (256 KiB unless told) at `folder`, seen by this process alone. As root, then
// as nobody; otherwise in a user namespace, whose root then gives up its
// capabilities, so that a read-only folder holds for it too.
inline bool MountSmallDisk(const char* folder, const char* size = "256k") {
    const bool root = ::getuid() == 0;
    const std::string userMap = "0 " + std::to_string(::getuid()) + " 1";
    const std::string groupMap = "0 " + std::to_string(::getgid()) + " 1";
    std::filesystem::create_directory(folder);
    if (::unshare(root ? CLONE_NEWNS : CLONE_NEWUSER | CLONE_NEWNS) != 0) {
        return false;
    }
    if (!root) {
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << userMap;
        std::ofstream("/proc/self/gid_map") << groupMap;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("alearo-test", folder, "tmpfs", 0,
                (std::string("size=") + size + ",mode=0755").c_str()) != 0) {
        return false;
    }
    if (root) {
        return ::chown(folder, kNobody, kNobody) == 0 && BecomeNobody();
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[2]{};
    return ::syscall(SYS_capset, &header, none) == 0;
}

}  // namespace alearo
