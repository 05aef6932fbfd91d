#include "device/linux/hidraw_monitor.h"

#include <libudev.h>

#include <cerrno>
#include <system_error>

namespace zelt {
namespace {

void SetError(std::string* error, const char* call, int err) {
  if (error) *error = std::string(call) + ": " + std::generic_category().message(err);
}

}  // namespace

std::optional<HidrawChange> HidrawChangeFromEvent(std::string_view action, const char* devnode,
                                                  std::string_view sysname) {
  HidrawChange change;
  if (action == "add") {
    change.kind = HidrawChange::Kind::kAdded;
  } else if (action == "remove") {
    change.kind = HidrawChange::Kind::kRemoved;
  } else {
    return std::nullopt;
  }
  if (devnode && *devnode) {
    change.path = devnode;
  } else if (!sysname.empty()) {
    change.path = "/dev/" + std::string(sysname);
  } else {
    return std::nullopt;
  }
  return change;
}

std::unique_ptr<HidrawMonitor> HidrawMonitor::Create(std::string* error) {
  errno = 0;
  struct udev* udev = udev_new();
  if (!udev) {
    SetError(error, "udev_new", errno ? errno : ENOMEM);
    return nullptr;
  }
  errno = 0;
  struct udev_monitor* monitor = udev_monitor_new_from_netlink(udev, "udev");
  if (!monitor) {
    SetError(error, "udev_monitor_new_from_netlink", errno ? errno : EPROTONOSUPPORT);
    udev_unref(udev);
    return nullptr;
  }
  // libudev returns negative error numbers from here on.
  auto fail = [&](const char* call, int negative_error) -> std::unique_ptr<HidrawMonitor> {
    SetError(error, call, -negative_error);
    udev_monitor_unref(monitor);
    udev_unref(udev);
    return nullptr;
  };
  if (int r = udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr); r < 0) {
    return fail("udev_monitor_filter_add_match_subsystem_devtype", r);
  }
  if (int r = udev_monitor_enable_receiving(monitor); r < 0) {
    return fail("udev_monitor_enable_receiving", r);
  }
  int fd = udev_monitor_get_fd(monitor);
  if (fd < 0) return fail("udev_monitor_get_fd", fd);
  return std::unique_ptr<HidrawMonitor>(new HidrawMonitor(udev, monitor, fd));
}

HidrawMonitor::HidrawMonitor(struct udev* udev, struct udev_monitor* monitor, int fd)
    : udev_(udev), monitor_(monitor), fd_(fd) {}

HidrawMonitor::~HidrawMonitor() {
  udev_monitor_unref(monitor_);
  udev_unref(udev_);
}

int HidrawMonitor::fd() const { return fd_; }

std::vector<HidrawChange> HidrawMonitor::Drain() {
  std::vector<HidrawChange> changes;
  // The monitor's socket is non-blocking: receiving returns null once nothing is pending.
  while (struct udev_device* device = udev_monitor_receive_device(monitor_)) {
    const char* action = udev_device_get_action(device);
    const char* sysname = udev_device_get_sysname(device);
    if (auto change = HidrawChangeFromEvent(action ? action : "", udev_device_get_devnode(device),
                                            sysname ? sysname : "")) {
      changes.push_back(std::move(*change));
    }
    udev_device_unref(device);
  }
  return changes;
}

}  // namespace zelt
