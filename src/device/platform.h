#pragma once
// The transports of the platform the program runs on.

#include <memory>

#include "device/filter_driver.h"
#include "device/hid_transport.h"

namespace zelt {

// The system's HID stack; null where this platform has none.
std::unique_ptr<HidTransport> CreatePlatformTransport();
// Notices of HID devices coming and going, so the presence watch can run at once instead of
// waiting for its next tick. The owner waits for fd() to become readable in its event loop and
// then calls Drain(), which never blocks.
class DeviceChangeMonitor {
 public:
  virtual ~DeviceChangeMonitor() = default;
  virtual int fd() const = 0;
  // True when a device came or went since the last call.
  virtual bool Drain() = 0;
};

// The system's device monitor; null where the platform has none or it cannot be started (the
// presence watch then relies on counting alone).
std::unique_ptr<DeviceChangeMonitor> CreatePlatformDeviceMonitor();

// The filter driver of this platform (on Linux the local stand-in); null where there is none.
std::unique_ptr<FilterDriverTransport> CreatePlatformFilterDriver();

}  // namespace zelt
