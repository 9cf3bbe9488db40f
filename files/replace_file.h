// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace alearo {

// Replaces the whole contents of the file at `path` with `contents`. An empty
// error_code means success; otherwise it holds the system's reason (errno in
// std::generic_category, so message() is the system's text), or the closest
// errc for a refusal of this function's own.
//
// - A symbolic link is followed, relative targets taken from the link's
//   folder: the file it points to is replaced (or created, for a dangling
//   link) and the link stays. A link loop gives too_many_symbolic_link_levels.
// - An existing file keeps its permission bits (and, where the process may
//   set them, its owner and group); a new file gets 0666 less the umask.
// - A directory in the way gives is_a_directory, any other non-regular file
//   invalid_argument. A file without its owner's write bit gives
//   permission_denied even for root, because access() lets root write
//   anything and a file marked read-only must stay untouched whoever runs
//   the program; access() is asked as well.
//
// Normally the new bytes go to an unnamed file (O_TMPFILE) in the target's
// folder, which is synced, given a hidden name beside the target, renamed
// over it, and the folder is synced. Any failure before the rename leaves the
// old file as it was and no new file behind: an unnamed file vanishes with
// its process, even one that is killed. Only a kill between naming and
// renaming leaves a hidden ".<name>.new-<pid>-<n>". Where the file system has
// no unnamed files, the new bytes go to such a hidden file from the start, so
// a kill at any point of the write leaves it. The next write of the same
// target removes these leftovers of the user's once their writer is gone. A
// failure to sync the folder after the rename is reported although the new
// contents are then in place: they may not survive a crash.
//
// When the folder refuses new files (or, with the sticky bit, the rename), or
// the file is mounted on its own so that nothing may be renamed over it, but
// the old file is writable, the file is rewritten in place: room for the new
// size is reserved first (where the file system cannot reserve, the bytes that
// grow the file are written first, past the old end), so that a full disk
// fails with the old file intact; then the new bytes are written from the
// start, the file is cut to their length and synced. A kill or crash during
// this write, or an I/O error after the reservation, can still leave a mix:
// the new bytes up to some point followed by the old ones after it (for
// shorter new contents, until the final cut, the old file's tail after all
// the new bytes). On a copy-on-write file system (Btrfs) a reservation does
// not cover rewriting bytes the file already has, so a full disk there may
// leave such a mix as well.
[[nodiscard]] std::error_code ReplaceFileContents(const std::string& path,
                                                  std::string_view contents);

}  // namespace alearo
