// SafeFile — bounded, non-blocking readers and the atomic writer (see
// SafeFile.h). POSIX calls only, so the settings file and the canon reader
// can use them without Qt.
#include "app/base/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nodalis {

namespace {

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

std::string SystemError(const char* What, int Errno) {
  return std::string(What) + ": " + std::strerror(Errno);
}

// Writes all of Data to fd, retrying short writes and interrupted calls.
bool WriteAll(int fd, const char* Data, std::size_t Size) {
  while (Size > 0) {
    const ssize_t n = ::write(fd, Data, Size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    Data += n;
    Size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

FileStatus ReadRegularFile(const std::string& Path, std::size_t MaxBytes, std::string& Data) {
  Data.clear();
  struct stat st{};
  // stat first: a FIFO or a device is never opened at all.
  if (::stat(Path.c_str(), &st) != 0)
    return (errno == ENOENT || errno == ENOTDIR) ? FileStatus::Missing : FileStatus::Unreadable;
  if (!S_ISREG(st.st_mode)) return FileStatus::NotRegular;
  // O_NONBLOCK: should the name have been replaced by a FIFO since the stat,
  // open returns at once instead of waiting for a writer; fstat then tells.
  Fd f;
  f.fd = ::open(Path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (f.fd < 0)
    return (errno == ENOENT || errno == ENOTDIR) ? FileStatus::Missing : FileStatus::Unreadable;
  if (::fstat(f.fd, &st) != 0) return FileStatus::Unreadable;
  if (!S_ISREG(st.st_mode)) return FileStatus::NotRegular;
  if (static_cast<unsigned long long>(st.st_size) > MaxBytes) return FileStatus::TooLarge;
  // Read to the end, but never more than MaxBytes + 1 (the file may grow).
  Data.resize(MaxBytes + 1 < 65536 ? MaxBytes + 1 : static_cast<std::size_t>(st.st_size) + 1);
  std::size_t got = 0;
  for (;;) {
    if (got == Data.size()) {
      if (got > MaxBytes) break;
      Data.resize(std::min(MaxBytes + 1, 2 * got));
    }
    const ssize_t n = ::read(f.fd, Data.data() + got, Data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Data.clear();
      return FileStatus::Unreadable;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  Data.resize(got);
  if (got > MaxBytes) {
    Data.clear();
    return FileStatus::TooLarge;
  }
  return FileStatus::Ok;
}

bool IsRegularFile(const std::string& Path) {
  struct stat st{};
  return ::stat(Path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& Path) {
  struct stat st{};
  return ::lstat(Path.c_str(), &st) == 0;
}

bool WriteFileAtomic(const std::string& Path, const std::string& Data, std::string* Error) {
  auto fail = [&](const char* What, int Errno) {
    if (Error) *Error = SystemError(What, Errno);
    return false;
  };
  struct stat old{};
  const bool exists = ::lstat(Path.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) return fail("not a regular file", EINVAL);

  // mkstemp: a fresh random name, created with O_CREAT | O_EXCL, so neither
  // an existing file nor a link planted under that name is ever opened.
  std::string tmp = Path + ".XXXXXX";
  Fd f;
  f.fd = ::mkostemp(tmp.data(), O_CLOEXEC);
  if (f.fd < 0) return fail("create temporary file", errno);
  auto discard = [&](const char* What) {
    const int e = errno;
    ::close(f.fd);
    f.fd = -1;
    ::unlink(tmp.c_str());
    return fail(What, e);
  };

  mode_t mode;
  if (exists) {
    mode = old.st_mode & 07777;
    if (::fchown(f.fd, old.st_uid, old.st_gid) != 0) {
      // Not allowed to give the file away: it stays the writer's own.
    }
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(f.fd, mode) != 0) return discard("set permissions");
  if (!WriteAll(f.fd, Data.data(), Data.size())) return discard("write");
  if (::fsync(f.fd) != 0) return discard("sync");
  const int fd = f.fd;
  f.fd = -1;
  if (::close(fd) != 0) {
    const int e = errno;
    ::unlink(tmp.c_str());
    return fail("close", e);
  }
  if (::rename(tmp.c_str(), Path.c_str()) != 0) {
    const int e = errno;
    ::unlink(tmp.c_str());
    return fail("rename", e);
  }
  return true;
}

}  // namespace nodalis
