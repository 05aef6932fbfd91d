#include "util/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zelt {
namespace {

void SetError(std::string* error, const std::string& what, const std::filesystem::path& path,
              int err) {
  if (error) *error = what + " " + path.string() + ": " + std::strerror(err);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t max_bytes, std::string* error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, "cannot open", path, errno);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  while (bytes.size() < max_bytes) {
    std::size_t want = std::min(sizeof chunk, max_bytes - bytes.size());
    ssize_t got = ::read(fd, chunk, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      SetError(error, "cannot read", path, errno);
      ::close(fd);
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  ::close(fd);
  return bytes;
}

bool WriteFileAtomic(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                     std::string* error) {
  std::filesystem::path temp = path;
  temp += ".tmp-XXXXXX";
  std::string pattern = temp.string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    SetError(error, "cannot create a file beside", path, errno);
    return false;
  }
  auto fail = [&](const char* what) {
    int err = errno;
    ::close(fd);
    ::unlink(pattern.c_str());
    SetError(error, what, path, err);
    return false;
  };
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write");
    }
    done += static_cast<std::size_t>(put);
  }
  // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
  struct stat old_stat;
  if (::stat(path.c_str(), &old_stat) == 0) {
    ::fchmod(fd, old_stat.st_mode & 07777);
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  if (::fsync(fd) != 0) return fail("cannot flush");
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(pattern.c_str());
    SetError(error, "cannot close", path, err);
    return false;
  }
  if (::rename(pattern.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(pattern.c_str());
    SetError(error, "cannot replace", path, err);
    return false;
  }
  return true;
}

}  // namespace zelt
