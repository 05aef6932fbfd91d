#include "app/special_key_menu.h"

namespace zelt {
namespace {

constexpr std::string_view kNames[kSpecialKeyEntryCount] = {
    "Key_CPIKey",    "Key_Fire",    "Key_AIMKey", "Key_LEDMode",
    "Key_LEDSwitch", "Key_KeyMode", "Key_KeyOff", "Key_FnFire"};

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string_view SpecialKeyEntryName(SpecialKeyEntry entry) {
  return kNames[static_cast<int>(entry)];
}

std::optional<SpecialKeyEntry> SpecialKeyEntryFromName(std::string_view name) {
  for (int i = 0; i < kSpecialKeyEntryCount; ++i) {
    if (kNames[i] == name) return static_cast<SpecialKeyEntry>(i);
  }
  return std::nullopt;
}

SpecialKeyMenuLayout LayOutSpecialKeyMenu(std::string_view special_config) {
  SpecialKeyMenuLayout layout;
  if (special_config.empty()) return layout;
  int count = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = special_config.find(',', start);
    const std::string_view name = TrimSpaces(special_config.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (const auto entry = SpecialKeyEntryFromName(name)) {
      layout.top[static_cast<std::size_t>(*entry)] = count * kSpecialKeyRowHeight;
    }
    ++count;
    if (comma == std::string_view::npos || count == kMaxSpecialKeyRows) break;
    start = comma + 1;
  }
  layout.panel_height = count * kSpecialKeyRowHeight + 2;
  return layout;
}

}  // namespace zelt
