#pragma once
// Notices of hidraw nodes coming and going, from udev. The owner polls fd() in its event loop and
// calls Drain() when it is readable (or on any timer tick: Drain never blocks).
//
// Events come from the udev daemon after its rules ran, so a node announced as added already
// carries the access rights the rules give it. Where no udev daemon runs, the monitor is created
// but stays silent; callers keep counting interfaces as their fallback.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct udev;
struct udev_monitor;

namespace zelt {

struct HidrawChange {
  enum class Kind { kAdded, kRemoved };
  Kind kind = Kind::kAdded;
  std::string path;  // the device node, "/dev/hidraw3"

  bool operator==(const HidrawChange&) const = default;
};

// The change a udev event stands for: "add" and "remove" only (a "change" or "bind" does not make
// a node come or go). `devnode` may be null; the node is then /dev/<sysname>.
std::optional<HidrawChange> HidrawChangeFromEvent(std::string_view action, const char* devnode,
                                                  std::string_view sysname);

class HidrawMonitor {
 public:
  // Starts listening to the hidraw subsystem. Null, with `error` set, where the netlink monitor
  // cannot be created (no netlink in a sandbox, for instance).
  static std::unique_ptr<HidrawMonitor> Create(std::string* error = nullptr);
  ~HidrawMonitor();
  HidrawMonitor(const HidrawMonitor&) = delete;
  HidrawMonitor& operator=(const HidrawMonitor&) = delete;

  // Readable when events are pending. Owned by the monitor.
  int fd() const;
  // The pending changes, oldest first; empty when nothing happened.
  std::vector<HidrawChange> Drain();

 private:
  HidrawMonitor(struct udev* udev, struct udev_monitor* monitor, int fd);

  struct udev* udev_;
  struct udev_monitor* monitor_;
  int fd_;
};

}  // namespace zelt
