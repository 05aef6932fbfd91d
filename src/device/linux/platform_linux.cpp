#include "device/linux/hidraw_monitor.h"
#include "device/linux/hidraw_transport.h"
#include "device/linux/local_filter_driver.h"
#include "device/platform.h"

namespace zelt {

std::unique_ptr<HidTransport> CreatePlatformTransport() {
  return std::make_unique<HidrawTransport>();
}

namespace {

class HidrawChangeMonitor final : public DeviceChangeMonitor {
 public:
  explicit HidrawChangeMonitor(std::unique_ptr<HidrawMonitor> monitor)
      : monitor_(std::move(monitor)) {}
  int fd() const override { return monitor_->fd(); }
  bool Drain() override { return !monitor_->Drain().empty(); }

 private:
  std::unique_ptr<HidrawMonitor> monitor_;
};

}  // namespace

std::unique_ptr<DeviceChangeMonitor> CreatePlatformDeviceMonitor() {
  auto monitor = HidrawMonitor::Create();
  if (!monitor) return nullptr;
  return std::make_unique<HidrawChangeMonitor>(std::move(monitor));
}

std::unique_ptr<FilterDriverTransport> CreatePlatformFilterDriver() {
  auto folder = LocalFilterDriver::DefaultFolder();
  if (!folder) return nullptr;
  return std::make_unique<LocalFilterDriver>(*folder);
}

}  // namespace zelt
