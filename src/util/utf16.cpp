#include "util/utf16.h"

namespace zelt {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Decodes code units supplied one by one by `unit_at(i)` for i < count.
template <typename UnitAt>
std::string DecodeUtf16(std::size_t count, UnitAt unit_at) {
  std::string out;
  out.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t unit = unit_at(i);
    if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(unit_at(i + 1))) {
      const char32_t low = unit_at(i + 1);
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), out);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(kReplacement, out);
    } else {
      AppendUtf8(unit, out);
    }
  }
  return out;
}

}  // namespace

void AppendUtf8(char32_t code_point, std::string& out) {
  if (code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    code_point = kReplacement;
  }
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code_point >> 6)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code_point >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code_point >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

std::string Utf16ToUtf8(std::u16string_view text) {
  return DecodeUtf16(text.size(), [&](std::size_t i) { return char32_t{text[i]}; });
}

std::string Utf16LeBytesToUtf8(std::span<const std::uint8_t> bytes) {
  return DecodeUtf16(bytes.size() / 2, [&](std::size_t i) {
    return static_cast<char32_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  });
}

namespace {

// Invalid bytes become U+FFFD, or end the conversion with nothing when `strict`.
std::optional<std::u16string> ConvertUtf8(std::string_view text, bool strict) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
      length = 1;
      value = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      value = lead & 0x1F;
      minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      value = lead & 0x0F;
      minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      value = lead & 0x07;
      minimum = 0x10000;
    }
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        valid = false;
      } else {
        value = (value << 6) | (next & 0x3F);
      }
    }
    if (valid && (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))) {
      valid = false;
    }
    if (!valid) {
      if (strict) return std::nullopt;
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    if (value >= 0x10000) {
      value -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(value));
    }
    i += length;
  }
  return out;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) { return *ConvertUtf8(text, false); }

std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view text) {
  return ConvertUtf8(text, true);
}

}  // namespace zelt
