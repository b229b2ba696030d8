#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "base/failure.h"

namespace tq {
namespace {

// The error-number table's number for a failed system call.
int NumberOfErrno(int code) {
  switch (code) {
    case ENOENT:
      return err::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return err::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
      return err::kDiskFull;
    case EISDIR:
    case ENOTDIR:
      return err::kPathFileAccess;
    case ENOMEM:
      return err::kOutOfMemory;
    default:
      return err::kDeviceIo;
  }
}

[[noreturn]] void Throw(int code, const std::string& source, const std::filesystem::path& path) {
  throw Failure(NumberOfErrno(code), source,
                path.string() + ": " + std::generic_category().message(code));
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

}  // namespace

void WriteFileAtomically(const std::filesystem::path& named, std::string_view bytes,
                         const std::string& source) {
  // A symbolic link is written through: its final target is what gets replaced, in the target's
  // own folder, and the link stays. What is there must be a regular file (or nothing yet).
  std::error_code ec;
  std::filesystem::path path = named;
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(named, ec))) {
    path = std::filesystem::weakly_canonical(named, ec);
    if (ec) Throw(ec.value(), source, named);
  }
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    if (S_ISDIR(existing.st_mode)) Throw(EISDIR, source, named);
    throw Failure(err::kPathFileAccess, source, named.string() + ": not a regular file");
  }
  const std::filesystem::path parent =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  // Built by appending: g++ 12 at -O3 warns falsely about "." + std::string.
  std::string name(1, '.');
  name.append(path.filename().string()).append(".XXXXXX");
  std::string pattern = (parent / name).string();
  Fd fd(::mkstemp(pattern.data()));
  if (fd.get() < 0) Throw(errno, source, path);
  const std::string temp = pattern;
  const auto fail = [&](int code) {
    ::unlink(temp.c_str());
    Throw(code, source, path);
  };
  // Keep the permissions of the file being replaced; a new file gets the usual 0644.
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  if (::fchmod(fd.get(), mode) != 0) fail(errno);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) fail(errno);
  if (::close(fd.release()) != 0) fail(errno);
  if (::rename(temp.c_str(), path.c_str()) != 0) fail(errno);
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path, std::size_t limit,
                                   const std::string& source) {
  // What is not a regular file (a pipe, a device) is refused before it is opened: opening a pipe
  // would wait for a writer.
  struct stat named {};
  if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode) && !S_ISDIR(named.st_mode)) {
    throw Failure(err::kPathFileAccess, source, path.string() + ": not a regular file");
  }
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    const int code = errno;
    if (code == ENOENT) {
      throw Failure(err::kFileNotFound, source, path.string() + ": no such file");
    }
    Throw(code, source, path);
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) Throw(errno, source, path);
  if (S_ISDIR(info.st_mode)) Throw(EISDIR, source, path);
  if (!S_ISREG(info.st_mode)) {
    throw Failure(err::kPathFileAccess, source, path.string() + ": not a regular file");
  }
  std::vector<uint8_t> bytes(limit);
  std::size_t done = 0;
  while (done < limit) {
    const ssize_t n = ::read(fd.get(), bytes.data() + done, limit - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      Throw(errno, source, path);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace tq
