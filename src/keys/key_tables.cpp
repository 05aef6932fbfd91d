#include "keys/key_tables.h"

#include <array>
#include <string>

namespace zelt {
namespace {

// A run of consecutive virtual-key codes mapping to consecutive usages; single keys are runs of
// one.
struct KeyRun {
  std::uint8_t first_key;
  std::uint8_t last_key;
  std::uint8_t first_usage;
};

constexpr KeyRun kKeyRuns[] = {
    {0x08, 0x08, 0x2A},  // Backspace
    {0x09, 0x09, 0x2B},  // Tab
    {0x0C, 0x0C, 0x9C},  // Clear
    {0x0D, 0x0D, 0x28},  // Enter
    {0x10, 0x10, 0xE1},  // Shift: left Shift
    {0x11, 0x11, 0xE0},  // Ctrl: left Ctrl
    {0x12, 0x12, 0xE2},  // Alt: left Alt
    {0x13, 0x13, 0x48},  // Pause
    {0x14, 0x14, 0x39},  // Caps Lock
    {0x1B, 0x1B, 0x29},  // Esc
    {0x20, 0x20, 0x2C},  // Space
    {0x21, 0x21, 0x4B},  // Page Up
    {0x22, 0x22, 0x4E},  // Page Down
    {0x23, 0x23, 0x4D},  // End
    {0x24, 0x24, 0x4A},  // Home
    {0x25, 0x25, 0x50},  // Left arrow
    {0x26, 0x26, 0x52},  // Up arrow
    {0x27, 0x27, 0x4F},  // Right arrow
    {0x28, 0x28, 0x51},  // Down arrow
    {0x29, 0x29, 0x77},  // Select
    {0x2C, 0x2C, 0x46},  // Print Screen
    {0x2D, 0x2D, 0x49},  // Insert
    {0x2E, 0x2E, 0x4C},  // Delete
    {0x2F, 0x2F, 0x75},  // Help
    {0x30, 0x30, 0x27},  // 0
    {0x31, 0x39, 0x1E},  // 1..9
    {0x3A, 0x3A, 0x26},  // no key produces 0x3A; it has always been read as 9
    {0x41, 0x5A, 0x04},  // A..Z
    {0x5B, 0x5B, 0xE3},  // left Windows
    {0x5C, 0x5C, 0xE7},  // right Windows
    {0x5D, 0x5D, 0x65},  // Applications
    {0x60, 0x60, 0x62},  // numeric pad 0
    {0x61, 0x69, 0x59},  // numeric pad 1..9
    {0x6A, 0x6A, 0x55},  // Multiply
    {0x6B, 0x6B, 0x57},  // Add
    {0x6C, 0x6C, 0x58},  // Separator
    {0x6D, 0x6D, 0x56},  // Subtract
    {0x6E, 0x6E, 0x63},  // Decimal
    {0x6F, 0x6F, 0x54},  // Divide
    {0x70, 0x7B, 0x3A},  // F1..F12
    {0x7C, 0x87, 0x68},  // F13..F24
    {0x90, 0x90, 0x53},  // Num Lock
    {0x91, 0x91, 0x47},  // Scroll Lock
    {0xA0, 0xA0, 0xE1},  // left Shift
    {0xA1, 0xA1, 0xE5},  // right Shift
    {0xA2, 0xA2, 0xE0},  // left Ctrl
    {0xA3, 0xA3, 0xE4},  // right Ctrl
    {0xA4, 0xA4, 0xE2},  // left Alt
    {0xA5, 0xA5, 0xE6},  // right Alt
    {0xA6, 0xA6, 0xCA},  // browser back
    {0xA7, 0xA7, 0xCB},  // browser forward
    {0xA8, 0xA8, 0xCD},  // browser refresh
    {0xA9, 0xA9, 0xCC},  // browser stop
    {0xAA, 0xAA, 0xC8},  // browser search
    {0xAB, 0xAB, 0xCE},  // browser favorites
    {0xAC, 0xAC, 0xC9},  // browser home
    {0xAD, 0xAD, 0xC4},  // volume mute
    {0xAE, 0xAE, 0xC6},  // volume down
    {0xAF, 0xAF, 0xC5},  // volume up
    {0xB0, 0xB0, 0xC0},  // next track
    {0xB1, 0xB1, 0xC1},  // previous track
    {0xB2, 0xB2, 0xC2},  // media stop
    {0xB3, 0xB3, 0xC3},  // play/pause
    {0xB4, 0xB4, 0xC7},  // launch mail
    {0xB5, 0xB5, 0xD1},  // launch media select
    {0xBA, 0xBA, 0x33},  // OEM_1 ;
    {0xBB, 0xBB, 0x2E},  // OEM_Plus =
    {0xBC, 0xBC, 0x36},  // OEM_Comma ,
    {0xBD, 0xBD, 0x2D},  // OEM_Minus -
    {0xBE, 0xBE, 0x37},  // OEM_Period .
    {0xBF, 0xBF, 0x38},  // OEM_2 /
    {0xC0, 0xC0, 0x35},  // OEM_3 `
    {0xDB, 0xDB, 0x2F},  // OEM_4 [
    {0xDC, 0xDC, 0x31},  // OEM_5 backslash
    {0xDD, 0xDD, 0x30},  // OEM_6 ]
    {0xDE, 0xDE, 0x34},  // OEM_7 '
};

struct UsageName {
  std::uint8_t usage;
  std::string_view name;
};

// Names that are not part of a numbered run (the runs are filled in by BuildUsageNames).
constexpr UsageName kUsageNames[] = {
    {0x28, "Enter"},
    {0x29, "Esc"},
    {0x2A, "Backspace"},
    {0x2B, "Tab"},
    {0x2C, "Space bar"},
    {0x2D, "OEM_Minus"},
    {0x2E, "OEM_Plus"},
    {0x2F, "OEM_4"},
    {0x30, "OEM_6"},
    {0x31, "OEM_5"},
    {0x33, "OEM_1"},
    {0x34, "OEM_7"},
    {0x35, "OEM_3"},
    {0x36, "OEM_Comma"},
    {0x37, "OEM_Period"},
    {0x38, "OEM_2"},
    {0x39, "Caps Lock"},
    {0x46, "Print Screen"},
    {0x47, "Scroll Lock"},
    {0x48, "Pause"},
    {0x49, "Insert"},
    {0x4A, "Home"},
    {0x4B, "Page Up"},
    {0x4C, "Delete"},
    {0x4D, "End"},
    {0x4E, "Page Down"},
    {0x4F, "Right Arrow"},
    {0x50, "Left Arrow"},
    {0x51, "Down Arrow"},
    {0x52, "Up Arrow"},
    {0x53, "Num Lock"},
    {0x54, "Divide (numeric pad)"},
    {0x55, "Multiply (numeric pad)"},
    {0x56, "Subtract (numeric pad)"},
    {0x57, "Add (numeric pad)"},
    {0x58, "Separator (numeric pad)"},
    {0x62, "0 (numeric pad)"},
    {0x63, "Decimal (numeric pad)"},
    {0x65, "Applications"},
    {0x75, "Help"},
    {0x77, "Select"},
    {0x9C, "Clear"},
    {0xC0, "Media_Next_Track"},
    {0xC1, "Media_Prev_Track"},
    {0xC2, "Media_Stop"},
    {0xC3, "Media_Play_Pause"},
    {0xC4, "Volume_Mute"},
    {0xC5, "Volume_Up"},
    {0xC6, "Volume_Down"},
    {0xC7, "Launch_Mail"},
    {0xC8, "Browser_Search"},
    {0xC9, "Browser_Home"},
    {0xCA, "Browser_Back"},
    {0xCB, "Browser_Forward"},
    {0xCC, "Browser_Stop"},
    {0xCD, "Browser_Refresh"},
    {0xCE, "Browser_Favorites"},
    {0xD1, "Launch_Media_Select"},
    {0xE0, "Left Ctrl"},
    {0xE1, "Left Shift"},
    {0xE2, "Left Alt"},
    {0xE3, "Win"},
    {0xE4, "Right Ctrl"},
    {0xE5, "Right Shift"},
    {0xE6, "Right Alt"},
    {0xE7, "Win"},
};

// Keys named on their own while typed into a dialog; every other covered key shows its usage
// name. 0xB6, 0xB7, 0xDF and 0xFF have a name but no usage.
struct KeyName {
  std::uint8_t key;
  std::string_view name;
};

constexpr KeyName kKeyNames[] = {
    {0x10, "Shift"},        {0x11, "Ctrl"},          {0x12, "Alt"},
    {0x5B, "Left Windows"}, {0x5C, "Right Windows"}, {0xB6, "Launch_App1"},
    {0xB7, "Launch_App2"},  {0xDF, "OEM_8"},         {0xFF, "255"},
};

using UsageByKey = std::array<std::uint8_t, 256>;

constexpr UsageByKey BuildUsageByKey() {
  UsageByKey table{};
  for (const KeyRun& run : kKeyRuns) {
    for (int key = run.first_key; key <= run.last_key; ++key) {
      table[static_cast<std::size_t>(key)] =
          static_cast<std::uint8_t>(run.first_usage + (key - run.first_key));
    }
  }
  return table;
}

constexpr UsageByKey kUsageByKey = BuildUsageByKey();

std::array<std::string, 256> BuildUsageNames() {
  std::array<std::string, 256> names;
  for (int i = 0; i < 26; ++i)
    names[static_cast<std::size_t>(0x04 + i)] = std::string(1, static_cast<char>('A' + i));
  for (int i = 0; i < 9; ++i) names[static_cast<std::size_t>(0x1E + i)] = std::to_string(i + 1);
  names[0x27] = "0";
  for (int i = 0; i < 12; ++i)
    names[static_cast<std::size_t>(0x3A + i)] = "F" + std::to_string(i + 1);
  for (int i = 0; i < 9; ++i) {
    names[static_cast<std::size_t>(0x59 + i)] = std::to_string(i + 1) + " (numeric pad)";
  }
  for (int i = 0; i < 12; ++i)
    names[static_cast<std::size_t>(0x68 + i)] = "F" + std::to_string(i + 13);
  for (const UsageName& entry : kUsageNames) names[entry.usage] = std::string(entry.name);
  return names;
}

bool InKeyRange(int virtual_key) { return virtual_key >= 0 && virtual_key <= 0xFF; }

}  // namespace

std::uint8_t VirtualKeyToUsage(int virtual_key) {
  if (!InKeyRange(virtual_key)) return 0x00;
  return kUsageByKey[static_cast<std::size_t>(virtual_key)];
}

std::string_view UsageToName(std::uint8_t usage) {
  static const std::array<std::string, 256> kNames = BuildUsageNames();
  return kNames[usage];
}

std::string_view VirtualKeyToName(int virtual_key) {
  if (!InKeyRange(virtual_key)) return "None";
  for (const KeyName& entry : kKeyNames) {
    if (entry.key == virtual_key) return entry.name;
  }
  std::uint8_t usage = VirtualKeyToUsage(virtual_key);
  if (usage == 0x00) return "None";
  return UsageToName(usage);
}

}  // namespace zelt
