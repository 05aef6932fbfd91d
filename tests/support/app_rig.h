#pragma once
// The main window's state and flows on a virtual mouse in virtual time, with a macro folder of
// its own.

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

struct AppRig {
  explicit AppRig(VirtualMouseFaults faults = {}, const DataBuf& memory = BuiltinImage(1),
                  Settings settings = {})
      : rig(faults, memory),
        language(Language::LoadBuiltIn(1).value()),
        state(std::move(settings), language, folder.path()),
        flows(state, rig.link, rig.ui, rig.clock),
        watch(rig.link, flows, rig.ui, rig.clock) {}

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

  TempDir folder;
  MouseRig rig;
  Language language;
  AppState state;
  ConfigFlows flows;
  PresenceWatch watch;
};

}  // namespace zelt::test_support
