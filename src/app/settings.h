#pragma once
// Application settings: the built-in [org] text, optionally overridden key by key by a per-user
// file of the same format, read once at start-up into typed, normalised fields.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_document.h"

namespace zelt {

// The value `Special_Config` reads as when no text defines it.
inline constexpr std::string_view kSpecialConfigWhenAbsent = "11111110";

// The fields hold the built-in values until a loader fills them.
struct Settings {
  bool web_enable = true;                             // Web_Enable: the web button opens `web`
  std::string web = "https://zelt507k.example.com/";  // Web
  int web_x = 819;               // Web_X: left of the web button on pages 1 to 4
  int web_y = 610;               // Web_Y: top of the web button
  std::uint8_t rev_manu_id = 0;  // Rev_Manu_ID: second accepted vendor code
  std::uint8_t rev_pro_id = 0;   // Rev_Pro_ID: second accepted product code
  std::string path;              // Path: macro library folder; empty means the default folder
  bool tr_enable = false;        // TR_Enable: rolling page-button captions
  bool gd_enable = false;        // GD_Enable: gun display (always off in driver mode)
  bool dpiled_status = true;     // DPILED_Status: true lights only the value's mark
  int gun6_num = 2;              // Gun6_Num: 1 or 2 records under gun key 6
  int gun7_num = 3;              // Gun7_Num: 1 to 3 records under gun key 7
  int num_order = 0;             // Num_Order: 0 ascending, 1 descending LED count labels
  int ap_mode = 0;               // Ap_Mode as read: 0 EEPROM, 1 driver, 2 EEPROM plus driver
  bool device_mode = true;       // the device-mode flag: on unless `ap_mode` is 1
  int dpi_count = 11;            // DPI_Count: selectable DPI values, 1 to 12
  std::string special_config =
      "Key_CPIKey,Key_Fire,Key_AIMKey,Key_LEDMode,Key_LEDSwitch,Key_KeyMode,Key_KeyOff";

  bool operator==(const Settings&) const = default;
};

// The built-in settings text (section [org]).
std::string_view BuiltInSettingsText();

// Reads section [org] of `built_in`, letting every well-formed key of [org] in `user` (when given)
// replace the built-in one, and normalises the result. A numeric value that is not a number is
// passed over for the next source (user file, built-in text, then the compiled-in value). What
// was passed over in `user`, and its lines that define nothing, are described in `notes` (one
// text per finding, "<user_name>:<line>: ..."), never treated as an error.
Settings ReadSettings(const IniDocument& built_in, const IniDocument* user = nullptr,
                      std::string_view user_name = "settings.ini",
                      std::vector<std::string>* notes = nullptr);

// The per-user settings file: $XDG_CONFIG_HOME/zelt507k/settings.ini when that variable holds an
// absolute path, otherwise $HOME/.config/zelt507k/settings.ini; nothing when neither is usable.
// Null or empty arguments count as unset.
std::optional<std::filesystem::path> UserSettingsPath(const char* xdg_config_home,
                                                      const char* home);
// The same from the process environment.
std::optional<std::filesystem::path> UserSettingsPathFromEnvironment();

// The built-in settings overridden by the file at `user_file` when given. A missing file is the
// normal case and is silent; a file that cannot be read or is larger than 1 MiB is left out with
// a note.
Settings LoadSettings(const std::optional<std::filesystem::path>& user_file,
                      std::vector<std::string>* notes = nullptr);

// A setting's text as a whole number: optional sign, then decimal digits or 0x and hexadecimal
// digits, with white space around it allowed. Nothing when it is anything else or leaves the
// range of int.
std::optional<int> ParseSettingNumber(std::string_view text);

}  // namespace zelt
