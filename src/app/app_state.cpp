#include "app/app_state.h"

#include "config/builtin_images.h"
#include "util/user_folders.h"

namespace zelt {

StorageMode StorageModeOf(const Settings& settings) {
  return settings.ap_mode == 1 ? StorageMode::kDriverOnly : StorageMode::kEeprom;
}

std::filesystem::path MacroFolderOf(const Settings& settings) {
  if (!settings.path.empty()) return settings.path;
  const auto data = UserDataFolder();
  if (!data) return std::filesystem::current_path();
  std::error_code ignored;  // a folder that cannot be made shows up when a file is written there
  std::filesystem::create_directories(*data, ignored);
  return *data;
}

const char* ConnectionStateName(ConnectionState state) {
  switch (state) {
    case ConnectionState::kSearching:
      return "searching";
    case ConnectionState::kConnected:
      return "connected";
    case ConnectionState::kRefused:
      return "refused";
    case ConnectionState::kNoDevice:
      return "no device";
  }
  return "";
}

AppState::AppState(Settings settings_in, const StringTable& texts_in,
                   std::filesystem::path macro_folder_in)
    : settings(std::move(settings_in)),
      texts(&texts_in),
      macro_folder(std::move(macro_folder_in)),
      data_buf(BuiltinImage(1)) {
  const auto codes = RegionOf(BuiltinImage(1), regions::kCodes);
  expected_codes = {codes[0], codes[1]};
}

std::array<std::string, 2 * kButtonCount> AppState::Codes() const {
  std::array<std::string, 2 * kButtonCount> codes;
  for (int mode = 1; mode <= kKeyModeCount; ++mode) {
    for (int button = 1; button <= static_cast<int>(kButtonCount); ++button) {
      codes[static_cast<std::size_t>((mode - 1) * static_cast<int>(kButtonCount) + button - 1)] =
          editors.buttons.code(mode, button);
    }
  }
  return codes;
}

}  // namespace zelt
