#include "emulator/virtual_mouse.h"

#include <algorithm>

namespace zelt {
namespace {

constexpr std::uint8_t kStatusFailed = 0x01;
constexpr std::uint8_t kStatusUnknownCommand = 0xEE;

// Counts one use of a limited fault; true while it still applies.
bool Consume(int& remaining) {
  if (remaining == VirtualMouseFaults::kAlways) return true;
  if (remaining <= 0) return false;
  --remaining;
  return true;
}

}  // namespace

class VirtualMouse::Handle final : public HidDevice {
 public:
  explicit Handle(VirtualMouse& mouse) : mouse_(mouse) {}
  bool SetFeature(std::span<const std::uint8_t> report) override {
    return mouse_.HandleSet(report, error_);
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    return mouse_.HandleGet(report, error_);
  }
  const std::string& last_error() const override { return error_; }

 private:
  VirtualMouse& mouse_;
  std::string error_;
};

VirtualMouse::VirtualMouse(const DataBuf& memory, VirtualMouseFaults faults)
    : memory_(memory), faults_(std::move(faults)) {
  if (faults_.codes) {
    memory_[0x36] = faults_.codes->first;
    memory_[0x37] = faults_.codes->second;
  }
}

VirtualMouse::~VirtualMouse() = default;

std::optional<std::vector<HidInterfaceInfo>> VirtualMouse::Enumerate() {
  std::lock_guard lock(mutex_);
  std::vector<HidInterfaceInfo> list;
  for (int i = 0; i < faults_.extra_interfaces; ++i) {
    list.push_back({"virtual:other-" + std::to_string(i), 0x1234, 0x0001, 0x0100, 0});
  }
  if (present_) {
    list.push_back(
        {kPath, kMouseVendorId, kMouseProductId, faults_.version, faults_.feature_length});
  }
  return list;
}

std::unique_ptr<HidDevice> VirtualMouse::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (path == kPath) {
    if (!present_) {
      last_error_ = "open " + path + ": No such device";
      return nullptr;
    }
    return std::make_unique<Handle>(*this);
  }
  // The other interfaces answer nothing; they only exist to be counted.
  struct Inert final : HidDevice {
    bool SetFeature(std::span<const std::uint8_t>) override { return false; }
    bool GetFeature(std::span<std::uint8_t>) override { return false; }
    const std::string& last_error() const override { return error; }
    std::string error = "not the mouse";
  };
  if (path.rfind("virtual:other-", 0) == 0) return std::make_unique<Inert>();
  last_error_ = "open " + path + ": No such file or directory";
  return nullptr;
}

void VirtualMouse::SetPresent(bool present) {
  std::lock_guard lock(mutex_);
  present_ = present;
}

bool VirtualMouse::present() const {
  std::lock_guard lock(mutex_);
  return present_;
}

DataBuf VirtualMouse::memory() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

void VirtualMouse::set_memory(const DataBuf& memory) {
  std::lock_guard lock(mutex_);
  memory_ = memory;
}

VirtualMouseFaults VirtualMouse::faults() const {
  std::lock_guard lock(mutex_);
  return faults_;
}

void VirtualMouse::set_faults(const VirtualMouseFaults& faults) {
  std::lock_guard lock(mutex_);
  faults_ = faults;
}

std::array<std::uint8_t, 4> VirtualMouse::driver_state() const {
  std::lock_guard lock(mutex_);
  return driver_state_;
}

std::vector<Report> VirtualMouse::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void VirtualMouse::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

std::uint64_t VirtualMouse::transfer_count() const {
  std::lock_guard lock(mutex_);
  return transfers_;
}

bool VirtualMouse::ArriveLocked() {
  ++transfers_;
  if (faults_.vanish_after != VirtualMouseFaults::kAlways &&
      transfers_ > static_cast<std::uint64_t>(faults_.vanish_after)) {
    present_ = false;
  }
  return present_;
}

bool VirtualMouse::AdmitLocked(std::size_t length, std::uint8_t report_id, int& failures,
                               const char* call, std::string& error) {
  if (!ArriveLocked()) {
    error = std::string(call) + ": No such device";
    return false;
  }
  if (Consume(failures)) {
    error = std::string(call) + ": Broken pipe";
    return false;
  }
  if (length != faults_.feature_length || length < 8 || report_id != kReportId) {
    error = std::string(call) + ": Invalid argument";
    return false;
  }
  return true;
}

bool VirtualMouse::HandleSet(std::span<const std::uint8_t> report, std::string& error) {
  std::lock_guard lock(mutex_);
  if (!AdmitLocked(report.size(), report.empty() ? 0 : report[0], faults_.set_failures,
                   "HIDIOCSFEATURE", error)) {
    return false;
  }
  Report request;
  std::copy_n(report.begin(), 8, request.begin());
  requests_.push_back(request);
  ExecuteLocked(request);
  return true;
}

bool VirtualMouse::HandleGet(std::span<std::uint8_t> report, std::string& error) {
  std::lock_guard lock(mutex_);
  if (!AdmitLocked(report.size(), report.empty() ? 0 : report[0], faults_.get_failures,
                   "HIDIOCGFEATURE", error)) {
    return false;
  }
  if (never_finishes_ || busy_polls_left_ > 0) {
    if (busy_polls_left_ > 0) --busy_polls_left_;
    std::fill(report.begin(), report.end(), 0);
    report[0] = kReportId;
    return true;
  }
  std::copy(reply_.begin(), reply_.end(), report.begin());
  return true;
}

std::uint8_t VirtualMouse::LightingFamilyByteLocked() const {
  switch (ReadLightingFamily(memory_[0x00], memory_[0x01])) {
    case LightingFamily::kSynchronous:
      return 0x00;
    case LightingFamily::kBreathing:
      return 0x40;
    case LightingFamily::kTwoColour:
      return 0x80;
    case LightingFamily::kFlowing:
      return 0xC0;
  }
  return 0xC0;
}

void VirtualMouse::ExecuteLocked(const Report& request) {
  const std::uint8_t command = request[1];
  reply_ = {kReportId, 0, 0, 0, 0, 0, 0, kStatusDone};
  busy_polls_left_ = faults_.busy_polls;
  never_finishes_ = faults_.silent_all || faults_.silent_command == command;
  if (never_finishes_) return;
  if (auto it = faults_.error_replies.find(command);
      it != faults_.error_replies.end() && Consume(it->second)) {
    reply_[7] = kStatusFailed;  // refused: nothing is executed
    return;
  }
  const auto address = static_cast<std::uint16_t>(request[2] | (request[3] << 8));
  const auto length = static_cast<std::uint16_t>(request[4] | (request[5] << 8));
  switch (static_cast<Command>(command)) {
    case Command::BeginSessionCmd:
      reply_[1] = faults_.begin_reply;
      break;
    case Command::EndSessionCmd:
    case Command::SystemReloadCmd:
      break;
    case Command::IdentifyCmd: {
      const bool driver_form = request[2] == 0x5A;
      reply_[1] = kIdentifySignature;
      reply_[2] =
          static_cast<std::uint8_t>((faults_.not_ready ? 0 : kReadyFlag) |
                                    (driver_form && !faults_.no_driver_flag ? kDriverFormFlag : 0));
      reply_[3] =
          (driver_form && request[3] == 0xD9) ? LightingFamilyByteLocked() : faults_.identify_byte3;
      reply_[5] = static_cast<std::uint8_t>(faults_.buttons & 0xFF);
      reply_[6] = static_cast<std::uint8_t>(faults_.buttons >> 8);
      break;
    }
    case Command::SetReadAddressCmd:
    case Command::SetWriteAddressCmd:
      block_address_ = address;
      block_length_ = length;
      block_position_ = 0;
      break;
    case Command::ReadDataCmd:
      // Bytes past the announced length or past the memory read as 0xFF.
      for (int i = 0; i < 6; ++i) {
        const unsigned offset = block_position_ + i;
        const unsigned at = block_address_ + offset;
        reply_[1 + i] = (offset < block_length_ && at < kImageSize) ? memory_[at] : 0xFF;
      }
      block_position_ = static_cast<std::uint16_t>(block_position_ + 6);
      break;
    case Command::WriteDataCmd:
      // Staging bytes past the announced length are ignored.
      for (int i = 0; i < 6; ++i) {
        const unsigned offset = block_position_ + i;
        const unsigned at = block_address_ + offset;
        if (offset >= block_length_ || at >= kImageSize) continue;
        if (auto it = faults_.stuck.find(static_cast<std::uint16_t>(at));
            it != faults_.stuck.end() && Consume(it->second)) {
          continue;
        }
        memory_[at] = request[2 + i];
      }
      block_position_ = static_cast<std::uint16_t>(block_position_ + 6);
      break;
    case Command::DriverStateCmd:
      std::copy_n(request.begin() + 2, 4, driver_state_.begin());
      break;
    case Command::DriverIdCmd:
      reply_[1] = static_cast<std::uint8_t>(faults_.driver_id >> 8);
      reply_[2] = static_cast<std::uint8_t>(faults_.driver_id & 0xFF);
      break;
    default:
      reply_[7] = kStatusUnknownCommand;
      break;
  }
}

}  // namespace zelt
