#pragma once
// The main window's state, flows and presence watch, on a virtual mouse in virtual time or on any
// link a test builds.

#include "app/app_state.h"
#include "app/config_flows.h"
#include "app/language.h"
#include "app/presence_watch.h"
#include "support/mouse_rig.h"
#include "support/run_program.h"

namespace zelt::test_support {

inline Settings SettingsWithMode(int ap_mode) {
  Settings settings;
  settings.ap_mode = ap_mode;
  settings.device_mode = ap_mode != 1;
  return settings;
}

// The window's state, flows and presence watch over a given link, in language 1, with a macro
// folder of their own.
struct WindowParts {
  WindowParts(DeviceLink& link, FlowUi& ui, Clock& clock, Settings settings = {})
      : language(Language::LoadBuiltIn(1).value()),
        state(std::move(settings), language, folder.path()),
        flows(state, link, ui, clock),
        watch(link, flows, ui, clock) {}

  TempDir folder;
  Language language;
  AppState state;
  ConfigFlows flows;
  PresenceWatch watch;
};

// The mouse side comes first so that the window parts can be built on its link.
struct MouseRigHolder {
  MouseRigHolder(VirtualMouseFaults faults, const DataBuf& memory) : rig(faults, memory) {}
  MouseRig rig;
};

// The window parts on a virtual mouse in virtual time.
struct AppRig : MouseRigHolder, WindowParts {
  explicit AppRig(VirtualMouseFaults faults = {}, const DataBuf& memory = BuiltinImage(1),
                  Settings settings = {})
      : MouseRigHolder(faults, memory),
        WindowParts(rig.link, rig.ui, rig.clock, std::move(settings)) {}

  // Window creation, then the mouse found as the presence watch finds it.
  void Start() {
    flows.Start();
    std::uint16_t version = kMouseVersion;
    EXPECT_TRUE(rig.link.OpenDevice(kMouseVendorId, kMouseProductId, version));
  }

  std::vector<std::uint8_t> Commands() const { return rig.Commands(); }
  // The (address, length) of every set-write-address request the mouse received.
  std::vector<std::pair<int, int>> WriteAddresses() const {
    std::vector<std::pair<int, int>> writes;
    for (const auto& request : rig.mouse.requests()) {
      if (request[1] != Byte(Command::SetWriteAddressCmd)) continue;
      writes.emplace_back(request[2] | request[3] << 8, request[4] | request[5] << 8);
    }
    return writes;
  }
};

}  // namespace zelt::test_support
