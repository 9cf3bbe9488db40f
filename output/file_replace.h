#pragma once

#include <string>

namespace alearo {

// Replaces the whole contents of the file at `path`, so that a failure at any
// point leaves the old file as it was: the new bytes go to a new file in the
// same folder, which is synced to disk and then renamed over the old one.
//
// - A symbolic link is followed: the file it points to is replaced and the
//   link stays.
// - An existing file keeps its permission bits (and, where the process may
//   set them, its owner and group); a new file gets 0666 less the umask.
// - A directory or other non-regular file in the way fails, and so does a file
//   that is not writable. The owner's write bit is checked as well as
//   access(), because access() lets root write anything and a file marked
//   read-only must stay untouched whoever runs the program.
// - When the folder refuses a new file but the old file is writable, the old
//   file is rewritten in place instead.
//
// Returns false on any failure to open, write, sync, close or rename.
bool ReplaceFileContents(const std::string& path, const std::string& contents);

}  // namespace alearo
