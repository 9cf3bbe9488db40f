// SPDX-License-Identifier: MIT
#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "files/replace_file.h"

namespace alearo {

SettingsRead ReadSettingsByte(const std::string& path) {
    SettingsRead read;
    // Non-blocking, so that a pipe put where the file belongs cannot hold up
    // the start until something writes to it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        read.error = {errno, std::generic_category()};
    } else if (!S_ISREG(info.st_mode)) {
        read.error = std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory
                                                                : std::errc::invalid_argument);
    } else {
        ssize_t got = 0;
        do {
            got = ::read(fd, &read.byte, 1);
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            read.error = {errno, std::generic_category()};
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
    return read;
}

std::error_code WriteSettingsByte(std::uint8_t byte, const std::string& path) {
    const char contents = static_cast<char>(byte);
    return ReplaceFileContents(path, std::string_view(&contents, 1));
}

}  // namespace alearo
