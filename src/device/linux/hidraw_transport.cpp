#include "device/linux/hidraw_transport.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <sstream>
#include <string_view>
#include <system_error>

#include "device/linux/report_descriptor.h"
#include "util/file_io.h"

namespace zelt {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kBusUsb = 0x03;
// The largest buffer hidraw accepts for one report. The ioctl request number carries the length
// in 14 bits, so anything larger would also corrupt the request itself.
constexpr std::size_t kMaxReportSize = 4096;
// sysfs caps report descriptors at 4096 bytes; a little slack costs nothing.
constexpr std::size_t kMaxDescriptorSize = 16384;

std::string ErrnoText(int err) { return std::generic_category().message(err); }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

std::optional<std::uint32_t> ParseHex(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  std::uint32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::string> ReadText(const fs::path& path) {
  auto bytes = ReadFileBytes(path, 4096);
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

std::optional<std::uint16_t> ReadHexAttribute(const fs::path& path) {
  auto text = ReadText(path);
  if (!text) return std::nullopt;
  auto value = ParseHex(*text);
  if (!value || *value > 0xFFFF) return std::nullopt;
  return static_cast<std::uint16_t>(*value);
}

struct HidId {
  std::uint32_t bus = 0;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
};

// HID_ID=0003:00002E7A:000008A0 from the HID device's uevent.
std::optional<HidId> ReadHidId(const fs::path& uevent) {
  auto text = ReadText(uevent);
  if (!text) return std::nullopt;
  std::istringstream lines(*text);
  std::string line;
  while (std::getline(lines, line)) {
    std::string_view rest(line);
    if (!rest.starts_with("HID_ID=")) continue;
    rest.remove_prefix(7);
    std::size_t first = rest.find(':');
    std::size_t second = rest.find(':', first == rest.npos ? first : first + 1);
    if (first == rest.npos || second == rest.npos) return std::nullopt;
    auto bus = ParseHex(rest.substr(0, first));
    auto vendor = ParseHex(rest.substr(first + 1, second - first - 1));
    auto product = ParseHex(rest.substr(second + 1));
    if (!bus || !vendor || !product) return std::nullopt;
    return HidId{*bus, static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
  }
  return std::nullopt;
}

// The release number of the input device the HID device created, if it created any.
std::optional<std::uint16_t> ReadInputVersion(const fs::path& hid_dir) {
  std::error_code ec;
  std::vector<fs::path> inputs;
  for (fs::directory_iterator it(hid_dir / "input", ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().filename().string().starts_with("input")) inputs.push_back(it->path());
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& input : inputs) {
    if (auto version = ReadHexAttribute(input / "id" / "version")) return version;
  }
  return std::nullopt;
}

// True when `dir` lies strictly inside `root` (both canonical), so the walk up the parents never
// leaves sysfs.
bool IsBelow(const fs::path& dir, const fs::path& root) {
  const fs::path relative = dir.lexically_relative(root);
  return !relative.empty() && relative != "." && *relative.begin() != "..";
}

// The N of "hidrawN", or nothing for any other name.
std::optional<unsigned> HidrawIndex(std::string_view name) {
  if (!name.starts_with("hidraw") || name.size() == 6) return std::nullopt;
  unsigned index = 0;
  auto [end, ec] = std::from_chars(name.data() + 6, name.data() + name.size(), index);
  if (ec != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return index;
}

class HidrawDevice final : public HidDevice {
 public:
  HidrawDevice(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~HidrawDevice() override { ::close(fd_); }
  HidrawDevice(const HidrawDevice&) = delete;
  HidrawDevice& operator=(const HidrawDevice&) = delete;

  bool SetFeature(std::span<const std::uint8_t> report) override {
    if (!CheckSize(report.size(), "HIDIOCSFEATURE")) return false;
    // The kernel only reads from the buffer; the request just is not declared const.
    auto* data = const_cast<std::uint8_t*>(report.data());
    int result;
    do {
      result = ::ioctl(fd_, HIDIOCSFEATURE(report.size()), data);
    } while (result < 0 && errno == EINTR);
    if (result < 0) return Fail("ioctl(HIDIOCSFEATURE)", errno);
    last_error_.clear();
    return true;
  }

  bool GetFeature(std::span<std::uint8_t> report) override {
    if (!CheckSize(report.size(), "HIDIOCGFEATURE")) return false;
    int result;
    do {
      result = ::ioctl(fd_, HIDIOCGFEATURE(report.size()), report.data());
    } while (result < 0 && errno == EINTR);
    if (result < 0) return Fail("ioctl(HIDIOCGFEATURE)", errno);
    // A shorter reply than asked for must not leave bytes of the request behind, where a caller
    // would take them for the device's answer.
    auto got = std::min(static_cast<std::size_t>(result), report.size());
    std::fill(report.begin() + static_cast<std::ptrdiff_t>(got), report.end(), 0);
    last_error_.clear();
    return true;
  }

  const std::string& last_error() const override { return last_error_; }

 private:
  bool CheckSize(std::size_t size, const char* request) {
    if (size >= 1 && size <= kMaxReportSize) return true;
    last_error_ = std::string("ioctl(") + request + "): report length " + std::to_string(size) +
                  " outside 1.." + std::to_string(kMaxReportSize);
    return false;
  }

  bool Fail(const char* call, int err) {
    last_error_ = std::string(call) + " " + path_ + ": " + ErrnoText(err);
    return false;
  }

  int fd_;
  std::string path_;
  std::string last_error_;
};

}  // namespace

HidrawTransport::HidrawTransport(std::filesystem::path sysfs_root, std::filesystem::path dev_dir)
    : sysfs_root_(std::move(sysfs_root)), dev_dir_(std::move(dev_dir)) {}

std::optional<std::vector<HidInterfaceInfo>> HidrawTransport::Enumerate() {
  std::error_code ec;
  if (!fs::is_directory(sysfs_root_ / "class", ec)) {
    last_error_ = "sysfs not found at " + sysfs_root_.string();
    return std::nullopt;
  }
  const fs::path class_dir = sysfs_root_ / "class" / "hidraw";
  std::vector<HidInterfaceInfo> interfaces;
  if (!fs::exists(class_dir, ec)) {
    // The hidraw class is registered with the first node (or the module); without it there is
    // simply no HID interface on this machine.
    last_error_.clear();
    return interfaces;
  }
  std::vector<std::pair<unsigned, std::string>> names;
  fs::directory_iterator it(class_dir, ec);
  for (fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (auto index = HidrawIndex(name)) names.emplace_back(*index, std::move(name));
  }
  if (ec) {
    last_error_ = "opendir " + class_dir.string() + ": " + ec.message();
    return std::nullopt;
  }
  std::sort(names.begin(), names.end());
  for (const auto& [index, name] : names) {
    interfaces.push_back(ReadInterface(class_dir / name, name));
  }
  last_error_.clear();
  return interfaces;
}

HidInterfaceInfo HidrawTransport::ReadInterface(const std::filesystem::path& class_entry,
                                                const std::string& name) const {
  HidInterfaceInfo info;
  info.path = (dev_dir_ / name).string();
  std::error_code ec;
  const fs::path hid_dir = fs::canonical(class_entry / "device", ec);
  if (ec) return info;

  std::optional<HidId> id = ReadHidId(hid_dir / "uevent");
  if (id) {
    info.vendor_id = id->vendor_id;
    info.product_id = id->product_id;
  }

  bool have_version = false;
  if (id && id->bus == kBusUsb) {
    const fs::path root = fs::canonical(sysfs_root_, ec);
    for (fs::path dir = hid_dir.parent_path(); !ec && IsBelow(dir, root); dir = dir.parent_path()) {
      auto vendor = ReadHexAttribute(dir / "idVendor");
      auto product = ReadHexAttribute(dir / "idProduct");
      if (!vendor || !product) continue;
      info.vendor_id = *vendor;
      info.product_id = *product;
      if (auto release = ReadHexAttribute(dir / "bcdDevice")) {
        info.version = *release;
        have_version = true;
      }
      break;
    }
  }
  if (!have_version) {
    if (auto version = ReadInputVersion(hid_dir)) info.version = *version;
  }

  if (auto descriptor = ReadFileBytes(hid_dir / "report_descriptor", kMaxDescriptorSize)) {
    if (auto layout = ParseReportDescriptor(*descriptor)) {
      info.feature_length = static_cast<std::uint16_t>(
          std::min<std::uint64_t>(layout->MaxReportLength(ReportKind::kFeature), 0xFFFF));
    }
  }
  return info;
}

std::unique_ptr<HidDevice> HidrawTransport::Open(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    last_error_ = "open " + path + ": " + ErrnoText(errno);
    return nullptr;
  }
  last_error_.clear();
  return std::make_unique<HidrawDevice>(fd, path);
}

const std::string& HidrawTransport::last_error() const { return last_error_; }

}  // namespace zelt
