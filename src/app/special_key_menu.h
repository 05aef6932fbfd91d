#pragma once
// Layout of the special-key menu from the `Special_Config` setting: a comma-separated list of
// entry names, top to bottom, one 25-pixel row per name.

#include <array>
#include <optional>
#include <string_view>

namespace zelt {

enum class SpecialKeyEntry {
  kCPIKey,
  kFire,
  kAIMKey,
  kLEDMode,
  kLEDSwitch,
  kKeyMode,
  kKeyOff,
  kFnFire
};
inline constexpr int kSpecialKeyEntryCount = 8;
inline constexpr int kSpecialKeyRowHeight = 25;
// Names past this many are ignored, which keeps every position far inside the range of int.
inline constexpr int kMaxSpecialKeyRows = 1000;

// The entry's name as written in `Special_Config` and used as its control name ("Key_CPIKey").
std::string_view SpecialKeyEntryName(SpecialKeyEntry entry);
// The entry of a name (exact, case-sensitive), or nothing.
std::optional<SpecialKeyEntry> SpecialKeyEntryFromName(std::string_view name);

struct SpecialKeyMenuLayout {
  // Top of each entry inside the panel, indexed by SpecialKeyEntry; nothing for an entry that is
  // not named, which stays hidden. The DPI entry's submenu arrow takes the DPI entry's top.
  std::array<std::optional<int>, kSpecialKeyEntryCount> top{};
  // Height of the panel: rows for every name given, plus 2.
  int panel_height = 2;

  std::optional<int> Top(SpecialKeyEntry entry) const {
    return top[static_cast<std::size_t>(entry)];
  }
  bool operator==(const SpecialKeyMenuLayout&) const = default;
};

// The name at position k (from 0, counting every comma-separated name) puts its entry at
// k * 25; a name given twice takes its later place; a name that matches no entry places nothing
// and leaves its row empty. Spaces around a name are ignored. The empty text gives no names.
SpecialKeyMenuLayout LayOutSpecialKeyMenu(std::string_view special_config);

}  // namespace zelt
