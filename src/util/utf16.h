#pragma once
// Conversions between UTF-16 (language files, macro names) and the UTF-8 used inside the program.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelt {

// UTF-16 code units to UTF-8. A lone or reversed surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Bytes holding UTF-16 little endian, two bytes per code unit, to UTF-8. A trailing odd byte is
// not part of any code unit and is dropped; no byte past the span is read.
std::string Utf16LeBytesToUtf8(std::span<const std::uint8_t> bytes);

// UTF-8 to UTF-16. Every byte that does not start a valid, shortest-form sequence of a scalar
// value (stray continuation bytes, truncated sequences, encoded surrogates, values past U+10FFFF)
// becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// UTF-8 to UTF-16, or nothing when the text is not valid UTF-8 by the rules above.
std::optional<std::u16string> Utf8ToUtf16Strict(std::string_view text);

// Appends the UTF-8 form of one scalar value; surrogates and values past U+10FFFF append U+FFFD.
void AppendUtf8(char32_t code_point, std::string& out);

}  // namespace zelt
