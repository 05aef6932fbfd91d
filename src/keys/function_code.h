#pragma once
// Button function codes: three bytes (type, P1, P2). The editors keep a code as six upper-case
// hexadecimal digits, byte 0 first ("010100"); the configuration image and profile files hold the
// same three bytes in the same order. This header converts between the two forms and names the
// types and fixed addresses that several folders share.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelt {

using FunctionCodeBytes = std::array<std::uint8_t, 3>;

// Function types (byte 0 of a code).
inline constexpr std::uint8_t kCodeTypeKeyOff = 0x00;
inline constexpr std::uint8_t kCodeTypeMouseButton = 0x01;  // P1: button bit
inline constexpr std::uint8_t kCodeTypeKeyboard = 0x02;     // P1: modifier bits, P2: usage
inline constexpr std::uint8_t kCodeTypeConsumer = 0x03;     // P1/P2: consumer usage, high first
inline constexpr std::uint8_t kCodeTypeDpiLoop = 0x05;
inline constexpr std::uint8_t kCodeTypeMacroToEnd = 0x06;  // P1/P2: macro address, high first
inline constexpr std::uint8_t kCodeTypeDpiUp = 0x07;
inline constexpr std::uint8_t kCodeTypeDpiDown = 0x08;
inline constexpr std::uint8_t kCodeTypeLedSwitch = 0x09;
inline constexpr std::uint8_t kCodeTypeAim = 0x0A;     // P1: DPI value index
inline constexpr std::uint8_t kCodeTypeGunKey = 0x0C;  // P1: first, P2: last fire macro
inline constexpr std::uint8_t kCodeTypeGunKeyFn = 0x0D;
inline constexpr std::uint8_t kCodeTypeMacroWhileHeld = 0x0E;  // P1/P2: macro address, high first
inline constexpr std::uint8_t kCodeTypeKeyModeSwitch = 0x0F;
inline constexpr std::uint8_t kCodeTypeLedMode = 0x10;

// Modifier bits of a keyboard code (P1 of type 0x02).
inline constexpr std::uint8_t kModifierCtrl = 0x01;
inline constexpr std::uint8_t kModifierShift = 0x02;
inline constexpr std::uint8_t kModifierAlt = 0x04;
inline constexpr std::uint8_t kModifierWin = 0x08;

inline constexpr std::string_view kKeyOffCode = "000000";
inline constexpr std::string_view kLeftClickCode = "010100";
// The rapid-fire key plays the fire-key event list of the image at 0x00F0.
inline constexpr std::string_view kFireKeyCode = "0600F0";
inline constexpr std::uint16_t kFireKeyAddress = 0x00F0;

// The address a code carries for element `index` (from 0) of the driver macro list:
// index * 2048 + 0x120. Above index 31 the result no longer fits the two address bytes.
constexpr std::uint32_t DriverMacroAddress(std::size_t index) {
  return static_cast<std::uint32_t>(index) * 2048u + 0x120u;
}

// Six hexadecimal digits (either case) read two at a time; nothing for any other text.
std::optional<FunctionCodeBytes> CodeTextToBytes(std::string_view text);

// Exactly two upper-case hexadecimal digits per byte, byte 0 first.
std::string CodeBytesToText(std::span<const std::uint8_t, 3> bytes);
std::string CodeBytesToText(std::uint8_t type, std::uint8_t p1, std::uint8_t p2);

// Two upper-case hexadecimal digits ("0A").
std::string HexByteText(std::uint8_t value);

}  // namespace zelt
