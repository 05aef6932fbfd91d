#pragma once
// Keyboard key tables: a Windows virtual-key code to the HID Keyboard/Keypad usage of the same key
// and to the name shown while it is typed, and a usage to its caption text. The key dialogs and
// the macro recorder translate pressed keys with them; captions of keyboard codes use the usage
// names.

#include <cstdint>
#include <string_view>

namespace zelt {

// The HID Keyboard/Keypad usage of the key, or 0x00 (no key) for a code the table does not cover.
// Shift, Ctrl and Alt give the left-hand usages; the media and browser keys give private usages
// 0xC0..0xCE and 0xD1 that the mouse firmware understands.
std::uint8_t VirtualKeyToUsage(int virtual_key);

// The caption text of a usage ("A", "Enter", "Left Ctrl"); the empty text for a usage without a
// name, 0x00 included. The text lives as long as the program.
std::string_view UsageToName(std::uint8_t usage);

// The name shown while a key is typed into a key dialog: the usage name of the key, with a few
// keys named on their own ("Shift", "Left Windows", "Launch_App1", "255"), and "None" for a code
// the table does not cover. The text lives as long as the program.
std::string_view VirtualKeyToName(int virtual_key);

}  // namespace zelt
