#pragma once
// A virtual mouse on a link in virtual time, with a flow UI that records what it was asked to show.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/builtin_images.h"
#include "device/device_link.h"
#include "device/flow_ui.h"
#include "emulator/virtual_clock.h"
#include "emulator/virtual_filter_driver.h"
#include "emulator/virtual_mouse.h"

namespace zelt::test_support {

class RecordingUi : public FlowUi {
 public:
  void ProcessMessages() override { ++pumps; }
  void ShowProgress() override { ++progress_shown; }
  void HideProgress() override { ++progress_hidden; }
  // Messages are recorded by id; a system message box as "box:<id>", the no-device notice as
  // "Str100+Str101", a file error as "file:<text>".
  void ShowMessage(std::string_view id) override { messages.emplace_back(id); }
  void ShowMessageBox(std::string_view id) override {
    messages.push_back("box:" + std::string(id));
  }
  void ShowNoDeviceMessage() override { messages.emplace_back("Str100+Str101"); }
  void ShowFileError(std::string_view text) override {
    messages.push_back("file:" + std::string(text));
  }
  void ShowOverlays() override { overlays = true; }
  void HideOverlays() override { overlays = false; }
  void CloseMenus() override { ++menus_closed; }
  void RefreshEditors() override { ++refreshes; }
  void CloseMainWindow() override { window_closed = true; }
  void SetTimerRunning(PresenceTimer timer, bool running) override {
    (timer == PresenceTimer::kStartup ? startup_timer : presence_timer) = running;
  }
  std::optional<std::filesystem::path> ChooseProfileToSave() override { return profile_path; }
  std::optional<std::filesystem::path> ChooseProfileToLoad() override { return profile_path; }

  int pumps = 0;
  int progress_shown = 0;
  int progress_hidden = 0;
  std::vector<std::string> messages;
  bool overlays = false;
  int menus_closed = 0;
  int refreshes = 0;
  bool window_closed = false;
  bool startup_timer = false;
  bool presence_timer = false;
  std::optional<std::filesystem::path> profile_path;  // what the file dialogs answer
};

// The requests a mouse received, each as its command byte.
inline std::vector<std::uint8_t> CommandsOf(const VirtualMouse& mouse) {
  std::vector<std::uint8_t> commands;
  for (const auto& request : mouse.requests()) commands.push_back(request[1]);
  return commands;
}

struct MouseRig {
  explicit MouseRig(VirtualMouseFaults faults = {}, const DataBuf& memory = BuiltinImage(1))
      : mouse(memory, faults), driver(faults.driver_id), link(mouse, &driver, clock) {
    std::uint16_t version = kMouseVersion;
    opened = link.OpenDevice(kMouseVendorId, kMouseProductId, version);
    mouse.ClearRequests();
  }

  std::vector<std::uint8_t> Commands() const { return CommandsOf(mouse); }

  VirtualClock clock;
  VirtualMouse mouse;
  VirtualFilterDriver driver;
  DeviceLink link;
  RecordingUi ui;
  bool opened = false;
};

// Faults in the --fault syntax; fails the test when the text is malformed.
inline VirtualMouseFaults ParseFaults(std::string_view spec) {
  VirtualMouseFaults faults;
  std::string error;
  EXPECT_TRUE(ParseVirtualMouseFaults(spec, faults, &error)) << error;
  return faults;
}

constexpr std::uint8_t Byte(Command command) { return static_cast<std::uint8_t>(command); }

}  // namespace zelt::test_support
