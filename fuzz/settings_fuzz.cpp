// Feeds arbitrary bytes to the settings reader as a per-user settings file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_document.h"
#include "app/settings.h"
#include "app/special_key_menu.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const zelt::IniDocument built_in =
      zelt::IniDocument::FromText(zelt::BuiltInSettingsText());
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const zelt::IniDocument user = zelt::IniDocument::FromText(text);
  std::vector<std::string> notes;
  const zelt::Settings settings = zelt::ReadSettings(built_in, &user, "fuzz.ini", &notes);

  // What later code relies on, whatever the file said.
  if (settings.gun6_num < 1 || settings.gun6_num > 2) __builtin_trap();
  if (settings.gun7_num < 1 || settings.gun7_num > 3) __builtin_trap();
  if (settings.num_order < 0 || settings.num_order > 1) __builtin_trap();
  if (settings.dpi_count < 1 || settings.dpi_count > 12) __builtin_trap();
  if (settings.device_mode != (settings.ap_mode != 1)) __builtin_trap();
  if (!settings.device_mode && settings.gd_enable) __builtin_trap();

  const zelt::SpecialKeyMenuLayout layout = zelt::LayOutSpecialKeyMenu(settings.special_config);
  if (layout.panel_height < 2) __builtin_trap();
  return 0;
}
