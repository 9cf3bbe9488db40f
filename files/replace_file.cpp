// SPDX-License-Identifier: MIT
#include "files/replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <optional>

namespace alearo {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkDepth = 40;
constexpr int kMaxNameAttempts = 100;
constexpr std::size_t kMaxPidDigits = 9;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kNewFileMode = 0666;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Owns one file descriptor; close() reports what the destructor would lose.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    std::error_code close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? std::error_code() : LastError();
    }

  private:
    int m_fd;
};

// The file to replace, after following links, and the folder it is in.
struct Place {
    std::string target;
    std::string folder;
    std::string name;
};

// Follows symbolic links to the end, relative targets taken from the link's
// folder. A dangling link gives the missing file it names, so that the file
// is created there; whatever else stops the walk is left for stat() to tell.
std::error_code FollowLinks(std::string& path) {
    for (int depth = 0; depth <= kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return {};
        }
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return error;
        }
        path = target.is_absolute() ? target.string()
                                    : (fs::path(path).parent_path() / target).string();
    }
    // A loop, or a chain so long that its last link would be replaced rather
    // than followed.
    return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

std::error_code CheckReplaceable(const std::string& path, const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (!S_ISREG(info.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    if ((info.st_mode & S_IWUSR) == 0) {
        return std::make_error_code(std::errc::permission_denied);
    }
    return ::access(path.c_str(), W_OK) == 0 ? std::error_code() : LastError();
}

// Writes all of `bytes` from `offset`. A short write (a file size limit, a
// signal) goes on where it stopped, so that only an error ends it early.
std::error_code WriteAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return LastError();
        }
        if (written == 0) {
            return std::make_error_code(std::errc::io_error);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return {};
}

std::error_code Sync(int fd) {
    return ::fsync(fd) == 0 ? std::error_code() : LastError();
}

std::string LeftoverPrefix(const std::string& name) {
    return "." + name + ".new-";
}

// A fresh hidden name beside the target: the process id, which tells a later
// write whether the writer is gone, and a counter for this process's writes.
std::string HiddenPath(const Place& place) {
    static std::atomic<unsigned> counter{0};
    return place.folder + "/" + LeftoverPrefix(place.name) + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

// Calls `create` with fresh hidden names until one is free.
template <typename Create>
std::error_code CreateUnderFreshName(const Place& place, std::string& hidden, Create create) {
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        hidden = HiddenPath(place);
        if (create(hidden)) {
            return {};
        }
        if (errno != EEXIST) {
            return LastError();
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

bool IsNumber(const std::string& text) {
    return !text.empty() && text.size() <= kMaxPidDigits &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

// The process that gave `entry` its name, when that is a hidden name made by
// HiddenPath() for this target; 0 for any other name.
pid_t WriterOf(const std::string& entry, const std::string& prefix) {
    if (entry.compare(0, prefix.size(), prefix) != 0) {
        return 0;
    }
    const std::string rest = entry.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string::npos || !IsNumber(rest.substr(0, dash)) ||
        !IsNumber(rest.substr(dash + 1))) {
        return 0;
    }
    return static_cast<pid_t>(std::stol(rest.substr(0, dash)));
}

// Removes what earlier writes of this target left when they were killed
// between naming their new file and renaming it: only names HiddenPath() gives
// for this target, only regular files of this user, and only when the process
// that wrote them is gone, so that a write of the same file under way in
// another process keeps its file. A writer on another machine sharing the
// folder looks gone; should its file be removed, its rename fails and reports
// it, its old file intact. Best effort: a folder that cannot be listed keeps
// its leftovers and the write goes on.
void RemoveLeftovers(const Place& place) {
    DIR* const dir = ::opendir(place.folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string prefix = LeftoverPrefix(place.name);
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t writer = WriterOf(entry->d_name, prefix);
        struct stat info {};
        if (writer > 0 && ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && ::kill(writer, 0) != 0 &&
            errno == ESRCH) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// Gives a new file the old one's owner, group and permission bits, then the
// new bytes, and syncs it.
std::error_code WriteNewFile(int fd, std::string_view contents, const struct stat* old) {
    if (old != nullptr) {
        // Only a privileged process may give a file away, and only a member of
        // the old group may give it that group; otherwise the file keeps what
        // any new file gets, which is no reason to fail.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0) {
        }
        // After fchown, which may clear set-id bits.
        if (::fchmod(fd, old->st_mode & kPermissionBits) != 0) {
            return LastError();
        }
    }
    if (const std::error_code error = WriteAt(fd, contents, 0)) {
        return error;
    }
    return Sync(fd);
}

// A folder that may be written but not read cannot be opened to sync it; the
// rename then lasts as soon as the file system makes it last.
std::error_code SyncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) {
        return {};
    }
    // EINVAL: a file system with nothing to sync for a folder.
    if (::fsync(dir.get()) != 0 && errno != EINVAL) {
        return LastError();
    }
    return dir.close();
}

std::error_code RenameOver(const std::string& hidden, const Place& place) {
    if (::rename(hidden.c_str(), place.target.c_str()) != 0) {
        const std::error_code error = LastError();
        ::unlink(hidden.c_str());
        return error;
    }
    return SyncFolder(place.folder);
}

// The new bytes in an unnamed file (O_TMPFILE), which has no name to leave
// behind until it is complete. Nothing when the system has no unnamed files,
// so that the caller writes a named one.
std::optional<std::error_code> WriteUnnamed(const Place& place, std::string_view contents,
                                            const struct stat* old) {
    FileDescriptor file(
        ::open(place.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kNewFileMode));
    if (file.get() < 0) {
        // EOPNOTSUPP: a file system without them; EISDIR: a kernel without them.
        if (errno == EOPNOTSUPP || errno == EISDIR) {
            return std::nullopt;
        }
        return LastError();
    }
    if (const std::error_code error = WriteNewFile(file.get(), contents, old)) {
        return error;
    }
    // linkat(fd, "", ..., AT_EMPTY_PATH) names the file directly but needs
    // CAP_DAC_READ_SEARCH; linking the descriptor's /proc entry, following it,
    // needs no privilege. The unnamed file would replace the target best, but
    // linkat() never replaces a name, hence the hidden name and the rename.
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    std::string hidden;
    std::error_code error = CreateUnderFreshName(place, hidden, [&](const std::string& name) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    });
    // Without /proc (a bare chroot) a named file does the same.
    if (error == std::errc::no_such_file_or_directory && ::access("/proc/self/fd", F_OK) != 0) {
        return std::nullopt;
    }
    if (!error) {
        error = file.close();
        if (error) {
            ::unlink(hidden.c_str());
        }
    }
    return error ? error : RenameOver(hidden, place);
}

// The new bytes in a hidden file beside the target, removed on failure.
std::error_code WriteNamed(const Place& place, std::string_view contents, const struct stat* old) {
    std::string hidden;
    int fd = -1;
    if (const std::error_code error =
            CreateUnderFreshName(place, hidden, [&](const std::string& name) {
                fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
                return fd >= 0;
            })) {
        return error;
    }
    FileDescriptor file(fd);
    std::error_code error = WriteNewFile(fd, contents, old);
    if (!error) {
        error = file.close();
    }
    if (error) {
        ::unlink(hidden.c_str());
        return error;
    }
    return RenameOver(hidden, place);
}

// Makes sure the file system has room for the new contents before the first
// byte of the old file changes. A failed reservation of growth may have taken
// some of the room past the file's end; cutting the file at its old size
// gives it back.
std::error_code Reserve(int fd, std::string_view contents, off_t oldSize) {
    const off_t newSize = static_cast<off_t>(contents.size());
    if (newSize == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, newSize) == 0) {
        return {};
    }
    std::error_code error = LastError();
    if (error == std::errc::operation_not_supported || error == std::errc::function_not_supported) {
        // A file system that cannot reserve (NFSv3, FAT) rewrites bytes where
        // they lie, so rewriting the old ones needs no room; only the growth
        // does. Writing it first, past the old end, finds that room while the
        // old bytes are still untouched.
        if (newSize <= oldSize) {
            return {};
        }
        error = WriteAt(fd, contents.substr(static_cast<std::size_t>(oldSize)), oldSize);
    }
    if (error && newSize > oldSize && ::ftruncate(fd, oldSize) != 0) {
        // The old bytes are intact all the same; the error below says why.
    }
    return error;
}

std::error_code RewriteInPlace(const std::string& target, std::string_view contents) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0) {
        return LastError();
    }
    if (!S_ISREG(info.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    std::error_code error = Reserve(file.get(), contents, info.st_size);
    if (!error) {
        error = WriteAt(file.get(), contents, 0);
    }
    if (!error && ::ftruncate(file.get(), static_cast<off_t>(contents.size())) != 0) {
        error = LastError();
    }
    if (!error) {
        error = Sync(file.get());
    }
    return error ? error : file.close();
}

}  // namespace

std::error_code ReplaceFileContents(const std::string& path, std::string_view contents) {
    Place place{path, {}, {}};
    if (const std::error_code error = FollowLinks(place.target)) {
        return error;
    }
    const fs::path targetPath(place.target);
    place.folder = targetPath.has_parent_path() ? targetPath.parent_path().string() : ".";
    place.name = targetPath.filename().string();

    struct stat oldInfo {};
    const bool exists = ::stat(place.target.c_str(), &oldInfo) == 0;
    if (!exists && errno != ENOENT) {
        return LastError();
    }
    if (!exists && place.name.empty()) {
        return std::make_error_code(std::errc::no_such_file_or_directory);
    }
    if (exists) {
        if (const std::error_code error = CheckReplaceable(place.target, oldInfo)) {
            return error;
        }
    }

    RemoveLeftovers(place);
    const struct stat* const old = exists ? &oldInfo : nullptr;
    std::optional<std::error_code> error = WriteUnnamed(place, contents, old);
    if (!error) {
        error = WriteNamed(place, contents, old);
    }
    // A folder that may not take new files (or, with the sticky bit, may not
    // have this file renamed over) still lets a writable file be rewritten,
    // and so does a file mounted on its own, which no rename may replace.
    if (exists &&
        (*error == std::errc::permission_denied || *error == std::errc::operation_not_permitted ||
         *error == std::errc::device_or_resource_busy || *error == std::errc::cross_device_link)) {
        return RewriteInPlace(place.target, contents);
    }
    return *error;
}

}  // namespace alearo
