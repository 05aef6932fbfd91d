#include "macros/macro_name_field.h"

#include <algorithm>
#include <vector>

namespace zelt {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The scalar values of strict UTF-8 text (shortest forms only, no surrogates, at most
// U+10FFFF); nothing on any other byte sequence.
std::optional<std::vector<char32_t>> DecodeUtf8(std::string_view text) {
  std::vector<char32_t> out;
  std::size_t i = 0;
  while (i < text.size()) {
    auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (text.size() - i <= extra) return std::nullopt;
    for (std::size_t k = 1; k <= extra; ++k) {
      auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || IsSurrogate(value)) return std::nullopt;
    out.push_back(value);
    i += extra + 1;
  }
  return out;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::size_t UnitsOf(char32_t c) { return c >= 0x10000 ? 2 : 1; }

}  // namespace

std::optional<std::size_t> MacroNameUnits(std::string_view name) {
  auto characters = DecodeUtf8(name);
  if (!characters) return std::nullopt;
  std::size_t units = 0;
  for (char32_t c : *characters) units += UnitsOf(c);
  return units;
}

std::optional<MacroNameField> EncodeMacroName(std::string_view name, std::string* error) {
  auto characters = DecodeUtf8(name);
  if (!characters) {
    if (error) *error = "the macro name is not valid UTF-8 text";
    return std::nullopt;
  }
  std::vector<char16_t> units;
  for (char32_t c : *characters) {
    if (c == 0) {
      if (error) *error = "the macro name holds a NUL character";
      return std::nullopt;
    }
    if (c >= 0x10000) {
      char32_t offset = c - 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + (offset >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + (offset & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(c));
    }
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
  std::vector<char16_t> units;
  for (std::size_t i = 0; i < unit_count; ++i) {
    auto unit = static_cast<char16_t>((field[2 * i] << 8) | field[2 * i + 1]);
    if (unit == 0) break;
    units.push_back(unit);
  }
  std::string name;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00), name);
      ++i;
    } else {
      AppendUtf8(IsSurrogate(unit) ? kReplacement : unit, name);
    }
  }
  return name;
}

bool IsMacroNamePresent(std::span<const std::uint8_t> field) {
  return (field.size() > 0 && field[0] != 0) || (field.size() > 1 && field[1] != 0);
}

}  // namespace zelt
