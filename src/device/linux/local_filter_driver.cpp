#include "device/linux/local_filter_driver.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>

#include "device/driver_memory.h"
#include "util/file_io.h"
#include "util/user_folders.h"

namespace zelt {
namespace {

namespace fs = std::filesystem;

// 54 characters, so the id that follows sits at positions 55 to 58.
constexpr std::string_view kPathPrefix = "zelt507k-driver#{6A1F0C3D-52E7-4B9A-A1D4-3C8E7F20B915}";
static_assert(kPathPrefix.size() == 54);

constexpr std::string_view kFilePrefix = "driver-";
constexpr std::string_view kFileSuffix = ".bin";
constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string IdHex(std::uint16_t id) {
  std::string hex(4, '0');
  for (std::size_t i = 0; i < 4; ++i) hex[i] = kHexDigits[(id >> (12 - 4 * i)) & 0xF];
  return hex;
}

// The id of a canonical upper-case hexadecimal quartet; nothing for anything else, so that every
// id has exactly one file and one path.
std::optional<std::uint16_t> ParseIdHex(std::string_view hex) {
  if (hex.size() != 4) return std::nullopt;
  std::uint16_t id = 0;
  for (char c : hex) {
    const char* digit = std::strchr(kHexDigits, c);
    if (c == '\0' || !digit) return std::nullopt;
    id = static_cast<std::uint16_t>(id * 16 + (digit - kHexDigits));
  }
  return id;
}

std::string FileName(std::uint16_t id) {
  return std::string(kFilePrefix) + IdHex(id) + std::string(kFileSuffix);
}

std::optional<std::uint16_t> IdFromFileName(std::string_view name) {
  if (!name.starts_with(kFilePrefix) || !name.ends_with(kFileSuffix)) return std::nullopt;
  name.remove_prefix(kFilePrefix.size());
  name.remove_suffix(kFileSuffix.size());
  return ParseIdHex(name);
}

// An exclusive lock on a folder for as long as it lives; `held()` is false when the folder could
// not be locked.
class FolderLock {
 public:
  explicit FolderLock(const fs::path& folder)
      : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    int result;
    do {
      result = ::flock(fd_, LOCK_EX);
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

class LocalDriverHandle final : public DriverHandle {
 public:
  explicit LocalDriverHandle(fs::path file) : file_(std::move(file)) {}

  bool Control(std::uint32_t code, std::span<const std::uint8_t> input,
               std::span<std::uint8_t> output) override {
    if (code != kDriverWriteRequest) {
      // Only the bytes up to the end of the requested range are needed.
      const auto range = ReadDriverRequestHeader(input);
      if (!range) return false;
      const std::uint64_t end = std::uint64_t{range->address} + range->length;
      auto memory = ReadFileBytes(
          file_, static_cast<std::size_t>(std::min<std::uint64_t>(end, kMaxDriverMemory)));
      return memory && ServeDriverRequest(*memory, code, input, output);
    }
    FolderLock lock(file_.parent_path());
    if (!lock.held()) return false;
    // Read one byte past the limit to tell a file that is already too long, which rewriting
    // would cut short.
    auto memory = ReadFileBytes(file_, kMaxDriverMemory + 1);
    if (!memory || memory->size() > kMaxDriverMemory) return false;
    bool changed = false;
    if (!ServeDriverRequest(*memory, code, input, output, &changed)) return false;
    return !changed || WriteFileAtomic(file_, *memory);
  }

 private:
  fs::path file_;
};

}  // namespace

LocalFilterDriver::LocalFilterDriver(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::optional<std::filesystem::path> LocalFilterDriver::DefaultFolder() {
  auto data = UserDataFolder();
  if (!data) return std::nullopt;
  return *data / "driver";
}

std::string LocalFilterDriver::InterfacePath(std::uint16_t driver_id) {
  return MakeDriverInterfacePath(kPathPrefix, driver_id);
}

std::optional<std::vector<std::string>> LocalFilterDriver::Enumerate() {
  std::error_code ec;
  std::vector<std::string> paths;
  if (!fs::exists(folder_, ec)) return ec ? std::nullopt : std::optional(paths);
  std::vector<std::uint16_t> ids;
  fs::directory_iterator it(folder_, ec);
  for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    auto id = IdFromFileName(it->path().filename().string());
    std::error_code type_ec;
    if (id && it->is_regular_file(type_ec)) ids.push_back(*id);
  }
  if (ec) return std::nullopt;
  std::sort(ids.begin(), ids.end());
  for (std::uint16_t id : ids) paths.push_back(InterfacePath(id));
  return paths;
}

std::unique_ptr<DriverHandle> LocalFilterDriver::Open(const std::string& path) {
  std::string_view view(path);
  if (!view.starts_with(kPathPrefix)) return nullptr;
  auto id = ParseIdHex(view.substr(kPathPrefix.size()));
  if (!id) return nullptr;
  fs::path file = folder_ / FileName(*id);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return nullptr;
  return std::make_unique<LocalDriverHandle>(std::move(file));
}

bool LocalFilterDriver::Install(std::uint16_t driver_id, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder_, ec);
  if (ec) {
    if (error) *error = "cannot create " + folder_.string() + ": " + ec.message();
    return false;
  }
  const fs::path file = folder_ / FileName(driver_id);
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int err = errno;
    if (err == EEXIST && fs::is_regular_file(file, ec)) return true;
    if (error)
      *error = "cannot create " + file.string() + ": " + std::generic_category().message(err);
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace zelt
