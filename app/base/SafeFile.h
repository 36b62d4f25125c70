// SafeFile — reading and replacing files so that nothing blocks, nothing
// planted in a shared directory is followed, and an old file is never lost.
//
// Paths are the bytes the user gave (no conversion). Readers open regular
// files only: a FIFO, a device or a directory is never opened for reading
// (which could block forever or never end), and a file is checked for its
// size before a byte of it is read. The writer creates its temporary file
// exclusively (O_CREAT | O_EXCL, never through a link), writes and syncs it,
// and only then renames it over the target; on any error the target keeps
// its old bytes and the temporary file is removed.
#pragma once

#include <cstddef>
#include <string>

namespace nodalis {

enum class FileStatus {
  Ok,          // read completely
  Missing,     // no such file (or a path component is missing)
  NotRegular,  // exists, but is a directory, FIFO, device or socket
  TooLarge,    // larger than the caller's limit (nothing is read)
  Unreadable,  // exists, but cannot be opened or read (permissions, I/O error)
};

// Reads the regular file Path (links followed) into Data, at most MaxBytes.
FileStatus ReadRegularFile(const std::string& Path, std::size_t MaxBytes, std::string& Data);

// True when Path names a regular file (links followed).
bool IsRegularFile(const std::string& Path);

// True when Path exists in any form (a dangling link counts).
bool PathExists(const std::string& Path);

// Replaces the contents of Path with Data atomically: a temporary file
// "<name>.XXXXXX" created exclusively in Path's directory, written, synced
// and renamed over Path. An existing Path keeps its permission bits (and,
// where allowed, its owner); a new one gets 0666 less the umask. Path itself
// must not be a link (resolve it first). Returns false with *Error (the
// system's reason) when anything fails; Path is then as it was.
bool WriteFileAtomic(const std::string& Path, const std::string& Data, std::string* Error = nullptr);

}  // namespace nodalis
