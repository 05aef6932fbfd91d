#include "app/settings.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "util/embedded_resources.h"
#include "util/file_io.h"
#include "util/hex.h"

namespace zelt {
namespace {

constexpr std::string_view kSection = "org";
constexpr std::size_t kMaxUserFileBytes = 1024 * 1024;

constexpr std::string_view kKnownKeys[] = {
    "Web_Enable", "Web",       "Web_X",     "Web_Y",         "Rev_Manu_ID", "Rev_Pro_ID",
    "Path",       "TR_Enable", "GD_Enable", "DPILED_Status", "Gun6_Num",    "Gun7_Num",
    "Num_Order",  "Ap_Mode",   "DPI_Count", "Special_Config"};

bool IsKnownKey(std::string_view name) {
  return std::any_of(std::begin(kKnownKeys), std::end(kKnownKeys),
                     [&](std::string_view known) { return EqualsIgnoringCase(known, name); });
}

// Finds keys in the user text first, then in the built-in text, and tells about what it passes
// over in the user text.
class SettingSources {
 public:
  SettingSources(const IniDocument& built_in, const IniDocument* user, std::string_view user_name,
                 std::vector<std::string>* notes)
      : built_in_(built_in), user_(user), user_name_(user_name), notes_(notes) {}

  int Number(std::string_view key, int fallback) const {
    if (user_ != nullptr) {
      if (const auto text = user_->Find(kSection, key)) {
        if (const auto value = ParseSettingNumber(*text)) return *value;
        Note(LineOf(key), std::string(key) + ": \"" + std::string(*text) +
                              "\" is not a whole number; the built-in value stays");
      }
    }
    if (const auto text = built_in_.Find(kSection, key)) {
      if (const auto value = ParseSettingNumber(*text)) return *value;
    }
    return fallback;
  }

  std::optional<std::string> Text(std::string_view key) const {
    if (user_ != nullptr) {
      if (const auto text = user_->Find(kSection, key)) return std::string(*text);
    }
    if (const auto text = built_in_.Find(kSection, key)) return std::string(*text);
    return std::nullopt;
  }

  // Notes the user lines that define nothing this program reads.
  void NoteUnusedUserLines() const {
    if (user_ == nullptr || notes_ == nullptr) return;
    std::vector<std::string> seen;
    for (const IniDocument::Line& line : user_->Lines()) {
      if (line.kind == IniDocument::LineKind::kBare) {
        Note(line.number, "\"" + line.name + "\" is not a setting line; ignored");
      } else if (line.kind == IniDocument::LineKind::kKey) {
        if (!EqualsIgnoringCase(line.section, kSection)) {
          Note(line.number, line.name + " lies outside [org]; ignored");
        } else if (!IsKnownKey(line.name)) {
          Note(line.number, "unknown setting " + line.name + "; ignored");
        } else if (std::any_of(seen.begin(), seen.end(), [&](const std::string& name) {
                     return EqualsIgnoringCase(name, line.name);
                   })) {
          Note(line.number, line.name + " is defined again; the first definition counts");
        } else {
          seen.push_back(line.name);
        }
      }
    }
  }

 private:
  std::size_t LineOf(std::string_view key) const {
    for (const IniDocument::Line& line : user_->Lines()) {
      if (line.kind == IniDocument::LineKind::kKey && EqualsIgnoringCase(line.section, kSection) &&
          EqualsIgnoringCase(line.name, key)) {
        return line.number;
      }
    }
    return 0;
  }

  void Note(std::size_t line, const std::string& text) const {
    if (notes_ == nullptr) return;
    notes_->push_back(std::string(user_name_) + ":" + std::to_string(line) + ": " + text);
  }

  const IniDocument& built_in_;
  const IniDocument* user_;
  std::string_view user_name_;
  std::vector<std::string>* notes_;
};

}  // namespace

std::string_view BuiltInSettingsText() {
  const auto bytes = FindEmbeddedResource("settings.ini");
  if (!bytes) return {};
  return {reinterpret_cast<const char*>(bytes->data()), bytes->size()};
}

std::optional<int> ParseSettingNumber(std::string_view text) {
  text = TrimIniSpace(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto magnitude = ParseNumber(text);
  if (!magnitude) return std::nullopt;
  const auto limit = static_cast<std::uint32_t>(INT_MAX) + (negative ? 1u : 0u);
  if (*magnitude > limit) return std::nullopt;
  if (negative) return static_cast<int>(-static_cast<std::int64_t>(*magnitude));
  return static_cast<int>(*magnitude);
}

Settings ReadSettings(const IniDocument& built_in, const IniDocument* user,
                      std::string_view user_name, std::vector<std::string>* notes) {
  const SettingSources sources(built_in, user, user_name, notes);
  sources.NoteUnusedUserLines();
  const Settings defaults;
  Settings s;

  s.web_enable = sources.Number("Web_Enable", 1) == 1;
  s.web = sources.Text("Web").value_or("");
  s.web_x = sources.Number("Web_X", defaults.web_x);
  s.web_y = sources.Number("Web_Y", defaults.web_y);
  s.rev_manu_id = static_cast<std::uint8_t>(std::clamp(sources.Number("Rev_Manu_ID", 0), 0, 255));
  s.rev_pro_id = static_cast<std::uint8_t>(std::clamp(sources.Number("Rev_Pro_ID", 0), 0, 255));
  s.path = sources.Text("Path").value_or("");
  s.tr_enable = sources.Number("TR_Enable", 0) == 1;
  s.gd_enable = sources.Number("GD_Enable", 0) == 1;
  s.dpiled_status = sources.Number("DPILED_Status", 1) == 1;
  s.gun6_num = std::clamp(sources.Number("Gun6_Num", defaults.gun6_num), 1, 2);
  s.gun7_num = std::clamp(sources.Number("Gun7_Num", defaults.gun7_num), 1, 3);
  s.num_order = std::clamp(sources.Number("Num_Order", defaults.num_order), 0, 1);
  s.ap_mode = sources.Number("Ap_Mode", defaults.ap_mode);
  // Driver mode keeps the configuration in the filter driver; the gun display needs the fire
  // area of the mouse's memory, so it goes with the device-mode flag.
  s.device_mode = s.ap_mode != 1;
  if (!s.device_mode) s.gd_enable = false;
  // The DPI value table has twelve entries; a larger count would let the sliders reach past it.
  s.dpi_count = std::clamp(sources.Number("DPI_Count", defaults.dpi_count), 1, 12);
  s.special_config = sources.Text("Special_Config").value_or(std::string(kSpecialConfigWhenAbsent));
  return s;
}

std::optional<std::filesystem::path> UserSettingsPath(const char* xdg_config_home,
                                                      const char* home) {
  const std::filesystem::path tail = std::filesystem::path("zelt507k") / "settings.ini";
  if (xdg_config_home != nullptr && *xdg_config_home != '\0') {
    const std::filesystem::path base(xdg_config_home);
    // Relative values are invalid for this variable and are ignored.
    if (base.is_absolute()) return base / tail;
  }
  if (home != nullptr && *home != '\0') return std::filesystem::path(home) / ".config" / tail;
  return std::nullopt;
}

std::optional<std::filesystem::path> UserSettingsPathFromEnvironment() {
  return UserSettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

Settings LoadSettings(const std::optional<std::filesystem::path>& user_file,
                      std::vector<std::string>* notes) {
  const IniDocument built_in = IniDocument::FromText(BuiltInSettingsText());
  if (!user_file) return ReadSettings(built_in);

  std::error_code ec;
  if (!std::filesystem::exists(*user_file, ec) && !ec) return ReadSettings(built_in);

  const std::string name = user_file->string();
  std::string error;
  const auto bytes = ReadFileBytes(*user_file, kMaxUserFileBytes + 1, &error);
  if (!bytes) {
    if (notes != nullptr)
      notes->push_back(name + ": not read (" + error + "); built-in settings used");
    return ReadSettings(built_in);
  }
  if (bytes->size() > kMaxUserFileBytes) {
    if (notes != nullptr) notes->push_back(name + ": larger than 1 MiB; built-in settings used");
    return ReadSettings(built_in);
  }
  std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const IniDocument user = IniDocument::FromText(text);
  return ReadSettings(built_in, &user, name, notes);
}

}  // namespace zelt
