#pragma once
// The seam between the exchange layer and the operating system's HID stack: enumerate interfaces,
// open one, move feature reports. Implemented by hidraw on Linux and by the virtual mouse.
//
// Byte contract: a feature report buffer starts with the report id (byte 0), and its length
// counts that byte, so the mouse's reports are 8 bytes long with report id 4.
// Return convention of the whole device layer: bool for success, with last_error() naming the
// failed system call and its error.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zelt {

struct HidInterfaceInfo {
  std::string path;
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::uint16_t version = 0;         // device release number
  std::uint16_t feature_length = 0;  // largest feature report, report id included
};

// One open HID interface. Closed when destroyed.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Sends a feature report; `report[0]` is the report id.
  virtual bool SetFeature(std::span<const std::uint8_t> report) = 0;
  // Fetches the feature report whose id is in `report[0]` into `report`.
  virtual bool GetFeature(std::span<std::uint8_t> report) = 0;
  virtual const std::string& last_error() const = 0;
};

class HidTransport {
 public:
  virtual ~HidTransport() = default;
  // The present HID interfaces; nothing when the list cannot be made at all.
  virtual std::optional<std::vector<HidInterfaceInfo>> Enumerate() = 0;
  // Opens an interface for feature reports only; null when it cannot be opened.
  virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
  virtual const std::string& last_error() const = 0;
};

}  // namespace zelt
