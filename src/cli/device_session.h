#pragma once
// The link zeltctl talks through: a real mouse over the platform transport, or the virtual mouse
// with its state file, optionally traced report by report.

#include <cstdio>
#include <memory>
#include <string>

#include "app/language.h"
#include "cli/cli.h"
#include "cli/console_ui.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "device/filter_driver.h"
#include "device/hid_transport.h"

namespace zelt {
class VirtualMouse;
class VirtualFilterDriver;
class TracingTransport;
}  // namespace zelt

namespace zelt::cli {

// Text for --help describing the --fault syntax.
std::string FaultHelp();

class DeviceSession {
 public:
  // Builds the session the global options ask for. Null with `exit_code` and a message printed
  // when a state or trace file cannot be used or a fault is malformed.
  static std::unique_ptr<DeviceSession> Create(const GlobalOptions& options, int* exit_code);
  ~DeviceSession();

  HidTransport& transport();
  DeviceLink& link() { return *link_; }
  ConsoleUi& ui() { return ui_; }
  Clock& clock() { return clock_; }
  // The language messages and captions are shown in (language 1).
  const Language& language() const { return language_; }

  // Opens the mouse (vendor 0x2E7A, product 0x08A0, version 0x0104); prints why not on failure.
  bool OpenMouse();

  // Writes the virtual mouse's memory (and its driver's) back to the state files. False with
  // `error` set when that failed.
  bool Finish(std::string* error);

 private:
  DeviceSession() = default;

  std::unique_ptr<HidTransport> base_transport_;
  std::unique_ptr<FilterDriverTransport> driver_transport_;
  std::unique_ptr<TracingTransport> tracing_;
  SteadyClock clock_;
  // Messages are shown in language 1, as the window shows them at start.
  Language language_;
  ConsoleUi ui_;
  std::unique_ptr<DeviceLink> link_;
  std::FILE* trace_ = nullptr;

  VirtualMouse* virtual_mouse_ = nullptr;
  VirtualFilterDriver* virtual_driver_ = nullptr;
  std::string state_path_;
};

}  // namespace zelt::cli
