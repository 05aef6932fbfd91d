#pragma once
// Number and byte-string parsing and formatting shared by the command line and the tools.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelt {

// The value of one hexadecimal digit of either case, or -1.
int HexDigitValue(char c);

// Decimal ("54") or 0x-prefixed hexadecimal ("0x36"); nothing on any other text or on overflow.
std::optional<std::uint32_t> ParseNumber(std::string_view text);

// Pairs of hexadecimal digits, with or without single or repeated spaces between pairs
// ("a1fe03", "a1 fe 03"). Nothing on an odd digit count, a split pair or any other character.
std::optional<std::vector<std::uint8_t>> ParseHexBytes(std::string_view text);

// Lower-case digit pairs joined by `separator` ("a1 fe 03").
std::string FormatHexBytes(std::span<const std::uint8_t> bytes, std::string_view separator = " ");

}  // namespace zelt
