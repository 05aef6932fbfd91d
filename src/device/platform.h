#pragma once
// The transports of the platform the program runs on.

#include <memory>

#include "device/filter_driver.h"
#include "device/hid_transport.h"

namespace zelt {

// The system's HID stack; null where this platform has none.
std::unique_ptr<HidTransport> CreatePlatformTransport();
// The filter driver of this platform (on Linux the local stand-in); null where there is none.
std::unique_ptr<FilterDriverTransport> CreatePlatformFilterDriver();

}  // namespace zelt
