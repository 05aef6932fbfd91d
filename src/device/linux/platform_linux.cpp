#include "device/linux/hidraw_transport.h"
#include "device/linux/local_filter_driver.h"
#include "device/platform.h"

namespace zelt {

std::unique_ptr<HidTransport> CreatePlatformTransport() {
  return std::make_unique<HidrawTransport>();
}

std::unique_ptr<FilterDriverTransport> CreatePlatformFilterDriver() {
  auto folder = LocalFilterDriver::DefaultFolder();
  if (!folder) return nullptr;
  return std::make_unique<LocalFilterDriver>(*folder);
}

}  // namespace zelt
