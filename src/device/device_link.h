#pragma once
// The exchange layer: finds and opens the mouse and carries out one 8-byte command exchange at a
// time, with the protocol's fixed pauses, polls and attempts. One lock keeps every whole exchange
// serial, so a background poller (the key test) and the user-interface thread can share a link.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "device/clock.h"
#include "device/filter_driver.h"
#include "device/hid_transport.h"

namespace zelt {

// Command codes of the mouse; the parameters not named are 0.
enum class Command : std::uint8_t {
  BeginSessionCmd = 1,  // reply byte 1 = 0xA6 (checked in driver-only flows)
  EndSessionCmd = 2,
  IdentifyCmd = 3,         // reply byte 1 = 0xAA, byte 2 flags, byte 3 memory type or lighting
  SetReadAddressCmd = 4,   // p1, p2 = address low, high; p3, p4 = length low, high
  ReadDataCmd = 5,         // reply bytes 1..6 = next six bytes
  SetWriteAddressCmd = 6,  // as SetReadAddressCmd
  WriteDataCmd = 7,        // bytes 2..7 = next six bytes
  SystemReloadCmd = 8,     // sent after every read or write session, before EndSessionCmd
  DriverStateCmd = 9,      // p1..p4 = the driver-mode state record
  DriverIdCmd = 0x81,      // reply byte 1 = id high byte, byte 2 = id low byte
};

inline constexpr std::uint16_t kMouseVendorId = 0x2E7A;
inline constexpr std::uint16_t kMouseProductId = 0x08A0;
inline constexpr std::uint16_t kMouseVersion = 0x0104;
inline constexpr std::uint16_t kMouseFeatureLength = 8;
inline constexpr std::uint8_t kReportId = 4;
inline constexpr std::uint8_t kStatusDone = 0xCC;
inline constexpr std::uint8_t kBeginSessionSignature = 0xA6;
inline constexpr std::uint8_t kIdentifySignature = 0xAA;
inline constexpr std::uint8_t kReadyFlag = 0x04;       // identify reply byte 2
inline constexpr std::uint8_t kDriverFormFlag = 0x20;  // identify reply byte 2, 0x5A forms

struct ExchangeRhythm;  // pauses, polls and attempts of one kind of exchange

using Report = std::array<std::uint8_t, 8>;
using DataReply = std::array<std::uint8_t, 7>;

// True when an interface has these ids and this version and an 8-byte feature report: the only
// interfaces the link opens as the mouse.
bool InterfaceMatches(const HidInterfaceInfo& info, std::uint16_t vendor_id,
                      std::uint16_t product_id, std::uint16_t version);

// Identify reply byte 3 as a memory type code: 0x35 -> 0x90, 0x75 -> 0x99, 0xFD -> 0x98, any
// other value 0 (unknown).
std::uint8_t MemoryTypeCode(std::uint8_t identify_byte3);

class DeviceLink {
 public:
  // `driver_transport` may be null where no filter driver exists.
  DeviceLink(HidTransport& transport, FilterDriverTransport* driver_transport, Clock& clock);
  ~DeviceLink();
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // Run once after every successful ReadDataCmd so long transfers keep the window alive.
  void SetMessagePump(std::function<void()> pump);

  // The number of present HID interfaces that can be opened; 0 when the list cannot be made.
  int CountDevices();
  // Opens the interface with these ids, this version and an 8-byte feature report; the last match
  // of the walk wins. Writes the found version back. Replaces any open device on success.
  bool OpenDevice(std::uint16_t vendor_id, std::uint16_t product_id, std::uint16_t& version);
  // Opens the filter-driver interface whose path carries `driver_id`. It stays open for the run.
  bool OpenDriverDevice(std::uint16_t driver_id);
  // Marks the device handle invalid (the mouse is gone, refused, or the window closes).
  void CloseDevice();
  // Closes the device and forgets its vendor and product ids (a re-open found it gone).
  void ForgetDevice();

  // One command exchange: true when the mouse answered with status 0xCC.
  bool SendCommand(Command command, std::uint8_t p1 = 0, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
                   std::uint8_t p4 = 0);
  // The same, also handing back the report buffer as this exchange left it, taken under the same
  // lock: with a second thread on the link (the key poller), report() may already show that
  // thread's next exchange.
  bool SendCommand(Command command, Report& reply, std::uint8_t p1 = 0, std::uint8_t p2 = 0,
                   std::uint8_t p3 = 0, std::uint8_t p4 = 0);
  // Command 7 with six data bytes in report bytes 2..7; true on status 0xCC.
  bool WriteDataCmd(const std::array<std::uint8_t, 6>& data);
  // Command 5; on status 0xCC the data reply copy gets reply bytes 1..7, otherwise seven 0xFF.
  void ReadDataCmd();
  // Command 3 in the key poller's rhythm: the button status word, or 0 when no 0xCC came.
  std::uint16_t ReadKeyStatus();

  bool has_device() const;
  bool has_driver() const;
  // The open filter-driver interface, or null. Callers must not use it concurrently.
  DriverHandle* driver();
  // The report buffer after the last exchange (the reply, or the last request when none came).
  Report report() const;
  DataReply data_reply() const;
  std::uint16_t vendor_id() const;
  std::uint16_t product_id() const;
  std::uint16_t version() const;
  std::uint16_t feature_length() const;

 private:
  bool ExchangeLocked(const Report& request, const ExchangeRhythm& rhythm);

  HidTransport& transport_;
  FilterDriverTransport* driver_transport_;
  Clock& clock_;
  std::function<void()> message_pump_;

  mutable std::mutex mutex_;
  std::unique_ptr<HidDevice> device_;
  std::unique_ptr<DriverHandle> driver_;
  std::uint16_t vendor_id_ = 0;
  std::uint16_t product_id_ = 0;
  std::uint16_t version_ = 0;
  std::uint16_t feature_length_ = 0;
  Report report_{};
  DataReply data_reply_{};
};

}  // namespace zelt
