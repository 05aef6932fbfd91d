#include "device/device_link.h"

#include <algorithm>
#include <utility>

namespace zelt {

// The pauses, poll count and attempt count of one kind of exchange, in milliseconds.
struct ExchangeRhythm {
  std::uint32_t pause_before_set;
  std::uint32_t pause_after_set;
  std::uint32_t pause_before_read;
  std::uint32_t pause_after_busy_read;  // when the status byte is still 0
  int reads_per_attempt;
  int attempts;
};

namespace {

constexpr ExchangeRhythm kCommandRhythm{0, 10, 0, 10, 5, 5};
constexpr ExchangeRhythm kWriteDataRhythm{0, 10, 0, 5, 5, 5};
constexpr ExchangeRhythm kReadDataRhythm{0, 5, 0, 5, 5, 5};
constexpr ExchangeRhythm kKeyStatusRhythm{5, 0, 5, 0, 10, 10};

constexpr std::uint8_t Byte(Command command) { return static_cast<std::uint8_t>(command); }

}  // namespace

bool InterfaceMatches(const HidInterfaceInfo& info, std::uint16_t vendor_id,
                      std::uint16_t product_id, std::uint16_t version) {
  return info.feature_length == kMouseFeatureLength && info.vendor_id == vendor_id &&
         info.product_id == product_id && info.version == version;
}

std::uint8_t MemoryTypeCode(std::uint8_t identify_byte3) {
  switch (identify_byte3) {
    case 0x35:
      return 0x90;
    case 0x75:
      return 0x99;
    case 0xFD:
      return 0x98;
    default:
      return 0;
  }
}

DeviceLink::DeviceLink(HidTransport& transport, FilterDriverTransport* driver_transport,
                       Clock& clock)
    : transport_(transport), driver_transport_(driver_transport), clock_(clock) {}

DeviceLink::~DeviceLink() = default;

void DeviceLink::SetMessagePump(std::function<void()> pump) {
  std::lock_guard lock(mutex_);
  message_pump_ = std::move(pump);
}

int DeviceLink::CountDevices() {
  std::lock_guard lock(mutex_);
  auto interfaces = transport_.Enumerate();
  if (!interfaces) return 0;
  int count = 0;
  for (const auto& info : *interfaces) {
    if (transport_.Open(info.path)) ++count;  // closed again at once
  }
  return count;
}

bool DeviceLink::OpenDevice(std::uint16_t vendor_id, std::uint16_t product_id,
                            std::uint16_t& version) {
  std::lock_guard lock(mutex_);
  auto interfaces = transport_.Enumerate();
  if (!interfaces) return false;
  std::unique_ptr<HidDevice> taken;
  const HidInterfaceInfo* taken_info = nullptr;
  for (const auto& info : *interfaces) {
    auto device = transport_.Open(info.path);
    if (!device) continue;
    if (InterfaceMatches(info, vendor_id, product_id, version)) {
      taken = std::move(device);  // a later match replaces (and closes) an earlier one
      taken_info = &info;
    }
  }
  if (!taken) return false;
  device_ = std::move(taken);
  vendor_id_ = taken_info->vendor_id;
  product_id_ = taken_info->product_id;
  version_ = taken_info->version;
  feature_length_ = taken_info->feature_length;
  version = version_;
  return true;
}

bool DeviceLink::OpenDriverDevice(std::uint16_t driver_id) {
  std::lock_guard lock(mutex_);
  if (!driver_transport_) return false;
  driver_transport_->Prepare(driver_id);
  auto paths = driver_transport_->Enumerate();
  if (!paths) return false;
  for (const auto& path : *paths) {
    if (DriverIdFromPath(path) != driver_id) continue;
    if (auto handle = driver_transport_->Open(path)) {
      driver_ = std::move(handle);
      return true;
    }
  }
  return false;
}

void DeviceLink::CloseDevice() {
  std::lock_guard lock(mutex_);
  device_.reset();
}

void DeviceLink::ForgetDevice() {
  std::lock_guard lock(mutex_);
  device_.reset();
  vendor_id_ = 0;
  product_id_ = 0;
}

bool DeviceLink::ExchangeLocked(const Report& request, const ExchangeRhythm& rhythm) {
  if (!device_) return false;
  for (int attempt = 0; attempt < rhythm.attempts; ++attempt) {
    report_ = request;
    if (rhythm.pause_before_set) clock_.SleepMs(rhythm.pause_before_set);
    bool sent = device_->SetFeature(report_);
    if (rhythm.pause_after_set) clock_.SleepMs(rhythm.pause_after_set);
    if (!sent) continue;  // the mouse never saw this attempt: no status can come from it
    for (int read = 0; read < rhythm.reads_per_attempt; ++read) {
      if (rhythm.pause_before_read) clock_.SleepMs(rhythm.pause_before_read);
      report_[0] = kReportId;
      // A failed fetch tells nothing of the command, so it counts as "not finished yet" rather
      // than leaving a stale byte 7 that could read as a status.
      bool fetched = device_->GetFeature(report_);
      if (fetched && report_[7] != 0) break;
      if (!fetched) report_[7] = 0;
      if (rhythm.pause_after_busy_read) clock_.SleepMs(rhythm.pause_after_busy_read);
    }
    if (report_[7] == kStatusDone) return true;
  }
  return false;
}

bool DeviceLink::SendCommand(Command command, std::uint8_t p1, std::uint8_t p2, std::uint8_t p3,
                             std::uint8_t p4) {
  std::lock_guard lock(mutex_);
  return ExchangeLocked({kReportId, Byte(command), p1, p2, p3, p4, 0, 0}, kCommandRhythm);
}

bool DeviceLink::SendCommand(Command command, Report& reply, std::uint8_t p1, std::uint8_t p2,
                             std::uint8_t p3, std::uint8_t p4) {
  std::lock_guard lock(mutex_);
  const bool done =
      ExchangeLocked({kReportId, Byte(command), p1, p2, p3, p4, 0, 0}, kCommandRhythm);
  reply = report_;
  return done;
}

bool DeviceLink::WriteDataCmd(const std::array<std::uint8_t, 6>& data) {
  std::lock_guard lock(mutex_);
  return ExchangeLocked({kReportId, Byte(Command::WriteDataCmd), data[0], data[1], data[2], data[3],
                         data[4], data[5]},
                        kWriteDataRhythm);
}

void DeviceLink::ReadDataCmd() {
  std::function<void()> pump;
  {
    std::lock_guard lock(mutex_);
    data_reply_.fill(0xFF);
    if (!ExchangeLocked({kReportId, Byte(Command::ReadDataCmd), 0, 0, 0, 0, 0, 0},
                        kReadDataRhythm)) {
      return;
    }
    std::copy(report_.begin() + 1, report_.end(), data_reply_.begin());
    pump = message_pump_;
  }
  // Outside the lock: the pump may run window code that starts nothing on the device but must
  // not be able to deadlock against it either.
  if (pump) pump();
}

std::uint16_t DeviceLink::ReadKeyStatus() {
  std::lock_guard lock(mutex_);
  if (!ExchangeLocked({kReportId, Byte(Command::IdentifyCmd), 0, 0, 0, 0, 0, 0},
                      kKeyStatusRhythm)) {
    return 0;
  }
  return static_cast<std::uint16_t>(report_[5] | (report_[6] << 8));
}

bool DeviceLink::has_device() const {
  std::lock_guard lock(mutex_);
  return device_ != nullptr;
}

bool DeviceLink::has_driver() const {
  std::lock_guard lock(mutex_);
  return driver_ != nullptr;
}

DriverHandle* DeviceLink::driver() {
  std::lock_guard lock(mutex_);
  return driver_.get();
}

Report DeviceLink::report() const {
  std::lock_guard lock(mutex_);
  return report_;
}

DataReply DeviceLink::data_reply() const {
  std::lock_guard lock(mutex_);
  return data_reply_;
}

std::uint16_t DeviceLink::vendor_id() const {
  std::lock_guard lock(mutex_);
  return vendor_id_;
}

std::uint16_t DeviceLink::product_id() const {
  std::lock_guard lock(mutex_);
  return product_id_;
}

std::uint16_t DeviceLink::version() const {
  std::lock_guard lock(mutex_);
  return version_;
}

std::uint16_t DeviceLink::feature_length() const {
  std::lock_guard lock(mutex_);
  return feature_length_;
}

}  // namespace zelt
