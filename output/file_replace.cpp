#include "output/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace alearo {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkDepth = 40;
constexpr int kMaxNameAttempts = 100;
constexpr mode_t kPermissionBits = 07777;

// Owns one file descriptor; Close() reports what the destructor would lose.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// The path after following symbolic links to the end, relative targets taken
// from the link's folder. A dangling link gives the missing file it names, so
// that the file is created there. Empty when the links loop.
std::string FollowLinks(std::string path) {
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return {};
        }
        path = target.is_absolute() ? target.string()
                                    : (fs::path(path).parent_path() / target).string();
    }
    return {};
}

bool MayReplace(const std::string& path, const struct stat& info) {
    return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) != 0 &&
           ::access(path.c_str(), W_OK) == 0;
}

// 0 on success, otherwise the errno of the failing call.
int WriteAll(int fd, const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

int WriteSyncAndClose(FileDescriptor& file, const std::string& bytes) {
    if (const int error = WriteAll(file.get(), bytes); error != 0) {
        return error;
    }
    if (::fsync(file.get()) != 0) {
        return errno;
    }
    return file.Close() ? 0 : errno;
}

// Creates a fresh file beside `target`, named after it and hidden, so that a
// leftover from a crash is easy to recognise. The name is made unique by the
// process id and a counter, with O_EXCL guarding against any clash.
int CreateSibling(const std::string& target, std::string& siblingPath, int& fd) {
    static std::atomic<unsigned> counter{0};
    const fs::path targetPath(target);
    const std::string prefix =
        "." + targetPath.filename().string() + ".new-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
        siblingPath = (targetPath.parent_path() / (prefix + std::to_string(counter++))).string();
        fd = ::open(siblingPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

// Best effort: a rename is only durable once its folder is synced too, but
// the file is already in place, so a failure here changes nothing.
void SyncFolderOf(const std::string& path) {
    std::string folder = fs::path(path).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int WriteBesideAndRename(const std::string& target, const std::string& contents,
                         const struct stat* oldInfo) {
    std::string siblingPath;
    int fd = -1;
    if (const int error = CreateSibling(target, siblingPath, fd); error != 0) {
        return error;
    }
    FileDescriptor file(fd);

    int error = 0;
    if (oldInfo != nullptr) {
        // Only a privileged process may give the file away; for anyone else the
        // owner stays as for any new file, so the result is not checked.
        if (::fchown(fd, oldInfo->st_uid, oldInfo->st_gid) != 0) {
            // Keep the new file's own owner.
        }
        // After fchown, which may clear set-id bits.
        if (::fchmod(fd, oldInfo->st_mode & kPermissionBits) != 0) {
            error = errno;
        }
    }
    if (error == 0) {
        error = WriteSyncAndClose(file, contents);
    }
    if (error == 0 && ::rename(siblingPath.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(siblingPath.c_str());
        return error;
    }
    SyncFolderOf(target);
    return 0;
}

bool RewriteInPlace(const std::string& target, const std::string& contents) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    FileDescriptor file(fd);
    return WriteSyncAndClose(file, contents) == 0;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& contents) {
    const std::string target = FollowLinks(path);
    if (target.empty()) {
        return false;
    }

    struct stat oldInfo {};
    const bool exists = ::stat(target.c_str(), &oldInfo) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists && !MayReplace(target, oldInfo)) {
        return false;
    }

    const int error = WriteBesideAndRename(target, contents, exists ? &oldInfo : nullptr);
    if (error == 0) {
        return true;
    }
    // A folder that may not take new files (or, with the sticky bit, may not
    // have this file renamed over) still lets a writable file be rewritten.
    const bool folderRefused = error == EACCES || error == EPERM;
    return exists && folderRefused && RewriteInPlace(target, contents);
}

}  // namespace alearo
