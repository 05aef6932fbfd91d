#include "macros/macro_name_field.h"

#include <algorithm>
#include <string>

#include "util/utf16.h"

namespace zelt {

std::optional<std::size_t> MacroNameUnits(std::string_view name) {
  auto units = Utf8ToUtf16Strict(name);
  if (!units) return std::nullopt;
  return units->size();
}

std::optional<MacroNameField> EncodeMacroName(std::string_view name, std::string* error) {
  auto converted = Utf8ToUtf16Strict(name);
  if (!converted) {
    if (error) *error = "the macro name is not valid UTF-8 text";
    return std::nullopt;
  }
  const std::u16string& units = *converted;
  if (units.find(u'\0') != std::u16string::npos) {
    if (error) *error = "the macro name holds a NUL character";
    return std::nullopt;
  }
  if (units.size() > kMaxMacroNameUnits) {
    if (error) {
      *error = "the macro name takes " + std::to_string(units.size()) +
               " UTF-16 code units; a name holds at most 16";
    }
    return std::nullopt;
  }
  MacroNameField field{};
  for (std::size_t i = 0; i < units.size(); ++i) {
    field[2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
    field[2 * i + 1] = static_cast<std::uint8_t>(units[i] & 0xFF);
  }
  return field;
}

std::string DecodeMacroName(std::span<const std::uint8_t> field) {
  std::size_t unit_count = std::min(field.size(), kMacroNameFieldSize) / 2;
  std::u16string units;
  for (std::size_t i = 0; i < unit_count; ++i) {
    auto unit = static_cast<char16_t>((field[2 * i] << 8) | field[2 * i + 1]);
    if (unit == 0) break;
    units.push_back(unit);
  }
  return Utf16ToUtf8(units);
}

bool IsMacroNamePresent(std::span<const std::uint8_t> field) {
  return (field.size() > 0 && field[0] != 0) || (field.size() > 1 && field[1] != 0);
}

}  // namespace zelt
