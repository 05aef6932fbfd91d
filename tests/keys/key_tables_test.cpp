#include "keys/key_tables.h"

#include <gtest/gtest.h>

namespace zelt {
namespace {

struct KeyUsageCase {
  int virtual_key;
  std::uint8_t usage;
};

TEST(VirtualKeyToUsage, MapsKeysIncludingTheIrregularOnes) {
  const KeyUsageCase cases[] = {
      // runs: letters, digits, function keys, numeric pad
      {0x41, 0x04},
      {0x5A, 0x1D},
      {0x31, 0x1E},
      {0x39, 0x26},
      {0x30, 0x27},
      {0x70, 0x3A},
      {0x7B, 0x45},
      {0x7C, 0x68},
      {0x87, 0x73},
      {0x60, 0x62},
      {0x61, 0x59},
      {0x69, 0x61},
      {0x6A, 0x55},
      {0x6B, 0x57},
      {0x6C, 0x58},
      {0x6D, 0x56},
      {0x6E, 0x63},
      {0x6F, 0x54},
      // modifiers: the generic ones are the left-hand keys
      {0x10, 0xE1},
      {0x11, 0xE0},
      {0x12, 0xE2},
      {0x5B, 0xE3},
      {0x5C, 0xE7},
      {0xA0, 0xE1},
      {0xA1, 0xE5},
      {0xA2, 0xE0},
      {0xA3, 0xE4},
      {0xA4, 0xE2},
      {0xA5, 0xE6},
      // keys whose usage is not where the virtual-key order suggests
      {0x29, 0x77},
      {0x2F, 0x75},
      {0x0C, 0x9C},
      {0x5D, 0x65},
      {0x2C, 0x46},
      {0x13, 0x48},
      {0x14, 0x39},
      {0x90, 0x53},
      {0x91, 0x47},
      {0x25, 0x50},
      {0x26, 0x52},
      {0x27, 0x4F},
      {0x28, 0x51},
      {0x21, 0x4B},
      {0x22, 0x4E},
      {0x23, 0x4D},
      {0x24, 0x4A},
      // 0x3A, which no key produces, reads as 9
      {0x3A, 0x26},
      // media and browser keys take private usages
      {0xB0, 0xC0},
      {0xB1, 0xC1},
      {0xB2, 0xC2},
      {0xB3, 0xC3},
      {0xAD, 0xC4},
      {0xAF, 0xC5},
      {0xAE, 0xC6},
      {0xB4, 0xC7},
      {0xAA, 0xC8},
      {0xAC, 0xC9},
      {0xA6, 0xCA},
      {0xA7, 0xCB},
      {0xA9, 0xCC},
      {0xA8, 0xCD},
      {0xAB, 0xCE},
      {0xB5, 0xD1},
      // OEM punctuation keys
      {0xBA, 0x33},
      {0xBB, 0x2E},
      {0xBC, 0x36},
      {0xBD, 0x2D},
      {0xBE, 0x37},
      {0xBF, 0x38},
      {0xC0, 0x35},
      {0xDB, 0x2F},
      {0xDC, 0x31},
      {0xDD, 0x30},
      {0xDE, 0x34},
      // no key: named but without usage, unlisted, or out of range
      {0xB6, 0x00},
      {0xB7, 0x00},
      {0xDF, 0x00},
      {0xFF, 0x00},
      {0x00, 0x00},
      {0x01, 0x00},
      {0x2A, 0x00},
      {0x2B, 0x00},
      {0x3B, 0x00},
      {0x40, 0x00},
      {0x5F, 0x00},
      {0x88, 0x00},
      {0x92, 0x00},
      {0xC1, 0x00},
      {0xDA, 0x00},
      {0xE2, 0x00},
      {-1, 0x00},
      {0x100, 0x00},
  };
  for (const KeyUsageCase& c : cases) {
    EXPECT_EQ(VirtualKeyToUsage(c.virtual_key), c.usage) << "virtual key " << c.virtual_key;
  }
}

TEST(VirtualKeyToUsage, EveryUsageItGivesHasAName) {
  for (int key = 0; key <= 0xFF; ++key) {
    std::uint8_t usage = VirtualKeyToUsage(key);
    if (usage != 0) {
      EXPECT_FALSE(UsageToName(usage).empty()) << "virtual key " << key;
    }
  }
}

struct UsageNameCase {
  std::uint8_t usage;
  const char* name;
};

TEST(UsageToName, NamesKnownUsagesAndNothingElse) {
  const UsageNameCase cases[] = {
      {0x04, "A"},
      {0x1D, "Z"},
      {0x1E, "1"},
      {0x26, "9"},
      {0x27, "0"},
      {0x28, "Enter"},
      {0x2C, "Space bar"},
      {0x2F, "OEM_4"},
      {0x38, "OEM_2"},
      {0x3A, "F1"},
      {0x45, "F12"},
      {0x4F, "Right Arrow"},
      {0x54, "Divide (numeric pad)"},
      {0x59, "1 (numeric pad)"},
      {0x61, "9 (numeric pad)"},
      {0x62, "0 (numeric pad)"},
      {0x63, "Decimal (numeric pad)"},
      {0x68, "F13"},
      {0x73, "F24"},
      {0x9C, "Clear"},
      {0xC0, "Media_Next_Track"},
      {0xCE, "Browser_Favorites"},
      {0xD1, "Launch_Media_Select"},
      {0xE0, "Left Ctrl"},
      {0xE3, "Win"},
      {0xE6, "Right Alt"},
      {0xE7, "Win"},
      // gaps between named usages
      {0x00, ""},
      {0x01, ""},
      {0x32, ""},
      {0x64, ""},
      {0x66, ""},
      {0x74, ""},
      {0x76, ""},
      {0xCF, ""},
      {0xD0, ""},
      {0xE8, ""},
      {0xFF, ""},
  };
  for (const UsageNameCase& c : cases) {
    EXPECT_EQ(UsageToName(c.usage), c.name) << "usage " << int{c.usage};
  }
}

struct KeyNameCase {
  int virtual_key;
  const char* name;
};

TEST(VirtualKeyToName, UsesUsageNamesExceptForItsOwnKeys) {
  const KeyNameCase cases[] = {
      {0x41, "A"},
      {0x3A, "9"},
      {0x6C, "Separator (numeric pad)"},
      {0xB3, "Media_Play_Pause"},
      {0xA0, "Left Shift"},
      {0xA5, "Right Alt"},
      {0x10, "Shift"},
      {0x11, "Ctrl"},
      {0x12, "Alt"},
      {0x5B, "Left Windows"},
      {0x5C, "Right Windows"},
      {0xB6, "Launch_App1"},
      {0xB7, "Launch_App2"},
      {0xDF, "OEM_8"},
      {0xFF, "255"},
      {0x00, "None"},
      {0x07, "None"},
      {0xE2, "None"},
      {-1, "None"},
      {0x141, "None"},
  };
  for (const KeyNameCase& c : cases) {
    EXPECT_EQ(VirtualKeyToName(c.virtual_key), c.name) << "virtual key " << c.virtual_key;
  }
}

}  // namespace
}  // namespace zelt
