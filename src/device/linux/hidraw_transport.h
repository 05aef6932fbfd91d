#pragma once
// HID transport over the kernel's hidraw nodes.
//
// Enumeration reads sysfs only, so it needs no access to the nodes themselves:
//   <sysfs>/class/hidraw/hidrawN/device      the HID device (a symbolic link, as in sysfs)
//     uevent              HID_ID=<bus>:<vendor>:<product>, 32-bit hexadecimal fields
//     report_descriptor   the raw descriptor, parsed for the largest feature report
//     input/inputM/id/version   release number when there is no USB parent
//   the first ancestor holding idVendor, idProduct and bcdDevice (the USB device), looked for
//   only when the bus is USB, since a Bluetooth HID device may sit below a USB adapter whose
//   numbers are not its own.
// The path of an interface is <dev>/hidrawN.
//
// A machine without hidraw nodes (no class folder, or an empty one) yields an empty list: that is
// a machine with no HID interfaces, not a failure. The list cannot be made only when sysfs itself
// is missing or the class folder cannot be read.
//
// An interface whose attributes cannot be read is still listed (it is present and may be opened),
// with zero ids; one whose descriptor is missing or malformed has feature length 0. Neither can
// then be taken for the mouse.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/hid_transport.h"

namespace zelt {

class HidrawTransport final : public HidTransport {
 public:
  explicit HidrawTransport(std::filesystem::path sysfs_root = "/sys",
                           std::filesystem::path dev_dir = "/dev");

  std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
  // Opens the node read-write (the feature requests need it), non-blocking, close-on-exec.
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  // The failed system call and its error ("open /dev/hidraw3: Permission denied"); empty after
  // a call that succeeded.
  const std::string& last_error() const override;

 private:
  HidInterfaceInfo ReadInterface(const std::filesystem::path& class_entry,
                                 const std::string& name) const;

  std::filesystem::path sysfs_root_;
  std::filesystem::path dev_dir_;
  std::string last_error_;
};

}  // namespace zelt
