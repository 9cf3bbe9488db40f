// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/syscall.h>

#include <cstddef>
#include <cstring>
#include <tuple>
#include <vector>

#include "child_process.h"
#include "files/replace_file.h"

namespace alearo {
namespace {

namespace fs = std::filesystem;
using std::errc;

constexpr errc kOk{};
constexpr const char* kOld = "old bytes, longer than the new";

// Everything below the working folder, so that a leftover shows.
long Entries() {
    return std::distance(fs::recursive_directory_iterator("."), {});
}

// Calls the kernel refuses from now on, as a failing disk or a file system
// without them would.
enum Refused : unsigned { kSync = 1, kRename = 2, kUnnamedFiles = 4, kReservation = 8 };

void Refuse(unsigned refused) {
    // what is refused, the call, the argument that must hold O_TMPFILE (-1 for
    // any call), the error
    const std::tuple<unsigned, long, int, int> calls[] = {
        {kSync, SYS_fsync, -1, EIO},
        {kRename, SYS_rename, -1, EIO},
        {kRename, SYS_renameat, -1, EIO},
        {kRename, SYS_renameat2, -1, EIO},
        {kUnnamedFiles, SYS_open, 1, EOPNOTSUPP},
        {kUnnamedFiles, SYS_openat, 2, EOPNOTSUPP},
        {kReservation, SYS_fallocate, -1, EOPNOTSUPP},
    };
    std::vector<sock_filter> filter;
    for (const auto& [what, call, arg, error] : calls) {
        if ((refused & what) == 0) {
            continue;
        }
        filter.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<unsigned>(call), 0,
                                  static_cast<__u8>(arg < 0 ? 1 : 3)));
        if (arg >= 0) {
            const std::size_t low = offsetof(seccomp_data, args) + sizeof(__u64) * std::size_t(arg);
            filter.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, static_cast<unsigned>(low)));
            filter.push_back(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, O_TMPFILE & ~O_DIRECTORY, 0, 1));
        }
        filter.push_back(
            BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | static_cast<unsigned>(error)));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    ASSERT_EQ(::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0), 0);
    ASSERT_EQ(::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program), 0);
}

enum Entry { kNone, kFile, kFolder, kLink, kDangling, kLoop };

using ReplaceFile = ScratchFolder;

// Each row puts an entry at w/f (a link points to ../t/f), makes the folder
// w read-only or not, and writes "new bytes", shorter than the old, to w/f as
// a normal user.
TEST_F(ReplaceFile, ReplacesTheFileOrLeavesItAndNothingElse) {
    // what is tried, the mode of w, the entry, the file's mode, the calls
    // refused; the error, the file's bytes afterwards and the entries below
    // the working folder (w and t among them)
    const std::tuple<const char*, int, Entry, int, unsigned, errc, const char*, int> rows[] = {
        {"in place", 0555, kFile, 0604, 0, kOk, "new bytes", 3},
        {"read-only", 0755, kFile, 0444, 0, errc::permission_denied, kOld, 3},
        {"no new file", 0555, kNone, 0, 0, errc::permission_denied, "", 2},
        {"link", 0555, kLink, 0640, 0, kOk, "new bytes", 4},
        {"dangling", 0555, kDangling, 0, 0, kOk, "new bytes", 4},
        {"folder", 0755, kFolder, 0, 0, errc::is_a_directory, "", 3},
        {"loop", 0755, kLoop, 0, 0, errc::too_many_symbolic_link_levels, "", 3},
        {"sync", 0755, kFile, 0644, kSync, errc::io_error, kOld, 3},
        {"sync in place", 0555, kFile, 0644, kSync, errc::io_error, "new bytes", 3},
        {"rename", 0755, kFile, 0644, kRename, errc::io_error, kOld, 3},
        {"named", 0755, kFile, 0640, kUnnamedFiles, kOk, "new bytes", 3},
        {"named sync", 0755, kFile, 0644, kUnnamedFiles | kSync, errc::io_error, kOld, 3},
        {"no reservation", 0555, kFile, 0644, kReservation, kOk, "new bytes", 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::get<0>(row));
        RunInChild([&] {
            const auto& [what, folderMode, entry, fileMode, refused, error, after, entries] = row;
            ASSERT_TRUE(BecomeNobody());
            fs::create_directories(what);
            fs::current_path(what);
            fs::create_directories(entry == kFolder ? "w/f" : "w");
            fs::create_directory("t");
            const bool linked = entry == kLink || entry == kDangling;
            const char* const target = linked ? "t/f" : "w/f";
            if (entry == kFile || entry == kLink) {
                std::ofstream(target) << kOld;
                fs::permissions(target, fs::perms(fileMode));
            }
            if (linked || entry == kLoop) {
                fs::create_symlink(linked ? "../t/f" : "f", "w/f");
            }
            fs::permissions("w", fs::perms(folderMode));
            Refuse(refused);
            EXPECT_EQ(ReplaceFileContents("w/f", "new bytes").message(),
                      std::make_error_code(error).message());
            EXPECT_EQ(ReadFile(target), after);
            EXPECT_EQ(Entries(), entries);
            if (fileMode != 0) {
                EXPECT_EQ(fs::status(target).permissions(), fs::perms(fileMode));
            }
            fs::permissions("w", fs::perms::owner_all);
        });
    }
}

// The old file, then a file filling the disk, then new contents written
// beside it, or in place in a read-only folder: one page where the old file
// holds two, so that rewriting in place would find room; three pages where
// it holds a page or less, so that only a reservation, or the growth
// written first (which stops short in the old file's last page), finds none.
TEST_F(ReplaceFile, FailsOnAFullDiskWithTheOldFileIntact) {
    // what is tried, the folder's mode, the calls refused, the old and new sizes
    const std::tuple<const char*, int, unsigned, std::size_t, std::size_t> rows[] = {
        {"a new file", 0755, 0, 8192, 4096},
        {"in place", 0555, 0, 4096, 12288},
        {"in place without reservation", 0555, kReservation, 100, 12288},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::get<0>(row));
        RunInChild([&] {
            const auto& [what, folderMode, refused, oldSize, newSize] = row;
            if (!MountSmallDisk("disk")) {
                ASSERT_NE(::getuid(), 0u) << "cannot mount a small disk: " << std::strerror(errno);
                GTEST_SKIP() << "no user namespace to mount a disk in: " << std::strerror(errno);
            }
            fs::current_path("disk");
            const std::string old(oldSize, 'o'), page(4096, 'f');
            std::ofstream("file") << old;
            std::ofstream fill("fill");
            while (fill << page << std::flush) {
            }
            ASSERT_EQ(errno, ENOSPC);
            fs::permissions(".", fs::perms(folderMode));
            Refuse(refused);
            EXPECT_EQ(ReplaceFileContents("file", std::string(newSize, 'n')).message(),
                      std::make_error_code(errc::no_space_on_device).message());
            EXPECT_EQ(ReadFile("file"), old);
            EXPECT_EQ(Entries(), 2) << "a leftover";
        });
    }
}

// A file mounted on its own, as a container shares one, may not be renamed
// over: it is rewritten in place.
TEST_F(ReplaceFile, RewritesAFileMountedOnItsOwnInPlace) {
    RunInChild([] {
        std::ofstream("shared") << kOld;
        std::ofstream("file") << "";
        if (::getuid() != 0 || ::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("shared", "file", nullptr, MS_BIND, nullptr) != 0) {
            GTEST_SKIP() << "no mount namespace to share a file in";
        }
        EXPECT_EQ(ReplaceFileContents("file", "new").message(), std::error_code().message());
        EXPECT_EQ(ReadFile("shared"), "new");
    });
}

// Names as a killed write of f leaves them, and others like them.
TEST_F(ReplaceFile, TheNextWriteRemovesOnlyTheLeftoversOfWritersGone) {
    std::string dead, alive = std::to_string(::getpid());
    std::ifstream("/proc/sys/kernel/pid_max") >> dead;  // one past the highest process id
    // the name, whether another user's (only root can make one), whether a
    // link; whether the write removes it
    const std::tuple<std::string, bool, bool, bool> rows[] = {
        {".f.new-" + dead + "-7", false, false, true},
        {".f.new-" + alive + "-7", false, false, false},
        {".f.new-" + dead + "-8", true, false, false},
        {".f.new-" + dead + "-9", false, true, false},
        {".g.new-" + dead + "-7", false, false, false},
        {".f.new-" + dead + "-x", false, false, false},
    };
    for (const auto& [name, foreign, link, removed] : rows) {
        if (link) {
            fs::create_symlink("f", name);
        } else {
            std::ofstream(name) << "left";
        }
        if (foreign && ::chown(name.c_str(), kNobody, kNobody) != 0) {
            fs::remove(name);
        }
    }
    ASSERT_FALSE(ReplaceFileContents("f", "new"));
    for (const auto& [name, foreign, link, removed] : rows) {
        EXPECT_EQ(fs::exists(fs::symlink_status(name)), !removed && (!foreign || ::getuid() == 0))
            << name;
    }
}

}  // namespace
}  // namespace alearo
