#pragma once
// The 32-byte name field kept beside every macro record: up to 16 UTF-16 code units, each stored
// high byte first from byte 0 on, the rest of the field 0. "Ab" is 00 41 00 62 and 28 zero bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelt {

inline constexpr std::size_t kMacroNameFieldSize = 32;
inline constexpr std::size_t kMaxMacroNameUnits = 16;

using MacroNameField = std::array<std::uint8_t, kMacroNameFieldSize>;

// The name's length in UTF-16 code units (a character beyond U+FFFF counts two); nothing when
// `name` is not valid UTF-8.
std::optional<std::size_t> MacroNameUnits(std::string_view name);

// The field for a UTF-8 name. Nothing, with a reason, when the name is not valid UTF-8, holds a
// NUL character or needs more than 16 code units. The empty name gives an all-zero field.
std::optional<MacroNameField> EncodeMacroName(std::string_view name, std::string* error = nullptr);

// The name in a field, as UTF-8: the code units up to the first zero unit, at most 16, read only
// from the bytes `field` holds (at most 32). A surrogate without its partner becomes U+FFFD.
std::string DecodeMacroName(std::span<const std::uint8_t> field);

// A field holds a name when its byte 0 or byte 1 is not 0.
bool IsMacroNamePresent(std::span<const std::uint8_t> field);

}  // namespace zelt
