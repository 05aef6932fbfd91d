#pragma once
// What the main window owns, without widgets: the settings and language, the configuration image
// with its working copies, the editors, the macro slots and driver macro list, the flags of the
// flows and the state of the presence watch.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "app/editors.h"
#include "app/settings.h"
#include "config/config_image.h"
#include "macros/driver_macro_list.h"
#include "macros/macro_slots.h"
#include "util/string_table.h"

namespace zelt {

// Where the configuration lives, fixed at start from Ap_Mode: 1 is the filter driver, 0 and 2
// the mouse's memory.
enum class StorageMode { kEeprom, kDriverOnly };
StorageMode StorageModeOf(const Settings& settings);

// The folder of the macro library, reset files, driver-mode files and the state file: the Path
// setting when it is set, else the per-user data folder (created here when missing), else the
// current folder.
std::filesystem::path MacroFolderOf(const Settings& settings);

// How far the presence watch got with the mouse.
enum class ConnectionState {
  kSearching,  // start-up: nothing decided yet
  kConnected,  // the codes were accepted and the image read
  kRefused,    // the mouse's vendor and product codes are not ones this program may configure
  kNoDevice,   // no mouse: the editor shows built-in image 1 under the overlays
};
const char* ConnectionStateName(ConnectionState state);

struct AppState {
  AppState(Settings settings_in, const StringTable& texts_in, std::filesystem::path macro_folder);

  StorageMode mode() const { return StorageModeOf(settings); }
  bool driver_only() const { return mode() == StorageMode::kDriverOnly; }

  // The eighteen function codes, key mode 1 first.
  std::array<std::string, 2 * kButtonCount> Codes() const;

  Settings settings;
  const StringTable* texts;
  // Folder of the macro library, reset files, driver-mode files and the state file.
  std::filesystem::path macro_folder;

  DataBuf data_buf{};
  WorkingCopies copies;
  // Vendor and product codes every mouse may carry (built-in image 1's), besides the reserved pair
  // of the settings.
  std::array<std::uint8_t, 2> expected_codes{};
  // The codes read from the connected mouse, for the read-only engineer fields.
  std::array<std::uint8_t, 2> codes_read{};

  Editors editors;
  MacroSlots macro_slots;
  DriverMacroList driver_macros;
  // The gun key library's ten codes when it was found at start.
  std::optional<std::array<std::string, 10>> fire_macro_codes;

  // The fire area copy holds the mouse's or a file's fire macros, so an apply writes it.
  bool fire_area_loaded = false;
  // Driver-only mode: the record sent with the driver state command and kept in the state file.
  DriverStateRecord driver_state;

  ConnectionState connection = ConnectionState::kSearching;
  bool startup_timer_running = false;
  bool presence_timer_running = false;
};

}  // namespace zelt
