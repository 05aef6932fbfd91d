#include "keys/function_captions.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace zelt {
namespace {

class TestStrings : public StringTable {
 public:
  std::string Text(std::string_view string_id) const override {
    auto it = texts_.find(std::string(string_id));
    return it == texts_.end() ? std::string() : it->second;
  }

 private:
  std::map<std::string, std::string> texts_ = {
      {"Str210", "Left Click"},
      {"Str211", "Right Click"},
      {"Str212", "Wheel Click"},
      {"Str213", "Backward"},
      {"Str214", "Forward"},
      {"Str220", "Fire Key"},
      {"Str221", "LED ON/OFF"},
      {"Str222", "AIM"},
      {"Str223", "Gun Key Fn"},
      {"Str224", "Key Off"},
      {"Str225", "Key Mode Switch"},
      {"Str226", "LED Mode"},
      {"Str231", "DPI Loop"},
      {"Str232", "DPI +"},
      {"Str233", "DPI -"},
      {"Str240", "My Computer"},
      {"Str241", "Calculator"},
      {"Str242", "E-Mail"},
      {"Str243", "Desktop"},
      {"Str250", "Play/Pause"},
      {"Str251", "Stop"},
      {"Str252", "Previous Track"},
      {"Str253", "Next Track"},
      {"Str254", "Volume +"},
      {"Str255", "Volume -"},
      {"Str256", "Mute"},
      {"Str260", "Home"},
      {"Str261", "Search"},
      {"Str262", "Web Back"},
      {"Str263", "Web Forward"},
      {"Str264", "Stop (web)"},
      {"Str265", "Refresh"},
      {"Str266", "Favorites"},
      {"Str600", "AKM"},
      {"Str601", "M16"},
      {"Str602", "M4"},
      {"Str603", "UMP9"},
      {"Str604", "SCAR-L"},
      {"Str605", "5.56mm Fire"},
      {"Str606", "7.62mm Fire"},
  };
};

// Mouse slot names and driver macro names, recording which the caption asked for.
class TestMacroNames : public MacroNameSource {
 public:
  std::string MouseSlotName(int slot) override {
    asked.push_back("slot " + std::to_string(slot));
    return "mouse macro " + std::to_string(slot);
  }
  std::optional<std::string> DriverMacroName(std::size_t index) const override {
    asked.push_back("driver " + std::to_string(index));
    if (index >= driver_count) return std::nullopt;
    return "driver macro " + std::to_string(index);
  }

  std::size_t driver_count = 0;
  mutable std::vector<std::string> asked;
};

struct TagCase {
  int tag;
  const char* code;
  const char* caption;
};

TEST(MenuTagToCode, GivesEachMenuEntryTheCodeItsCaptionNamesBack) {
  const TagCase cases[] = {
      {900, "010100", "Left Click"},
      {901, "010200", "Right Click"},
      {902, "010400", "Wheel Click"},
      {903, "010800", "Backward"},
      {904, "011000", "Forward"},
      {1000, "0600F0", "Fire Key"},
      {1001, "090000", "LED ON/OFF"},
      {1002, "0A0700", "AIM"},
      {1003, "0D0000", "Gun Key Fn"},
      {1004, "000000", "Key Off"},
      {1005, "0F0000", "Key Mode Switch"},
      {1006, "100000", "LED Mode"},
      {1100, "030194", "My Computer"},
      {1101, "030192", "Calculator"},
      {1102, "03018A", "E-Mail"},
      {1103, "020807", "Desktop"},
      {1300, "0300CD", "Play/Pause"},
      {1301, "0300B7", "Stop"},
      {1302, "0300B6", "Previous Track"},
      {1303, "0300B5", "Next Track"},
      {1304, "0300E9", "Volume +"},
      {1305, "0300EA", "Volume -"},
      {1306, "0300E2", "Mute"},
      {1400, "030223", "Home"},
      {1401, "030221", "Search"},
      {1402, "030224", "Web Back"},
      {1403, "030225", "Web Forward"},
      {1404, "030226", "Stop (web)"},
      {1405, "030227", "Refresh"},
      {1406, "03022A", "Favorites"},
      {2000, "050000", "DPI Loop"},
      {2001, "070000", "DPI +"},
      {2002, "080000", "DPI -"},
  };
  TestStrings strings;
  for (const TagCase& c : cases) {
    EXPECT_EQ(MenuTagToCode(c.tag, 7), c.code) << c.tag;
    EXPECT_EQ(CodeToName(c.code, strings), c.caption) << c.code;
  }
  EXPECT_EQ(FixedFunctions().size(), std::size(cases));
}

TEST(MenuTagToCode, AimCarriesTheDpiIndexAndUnknownTagsGiveNothing) {
  EXPECT_EQ(MenuTagToCode(1002, 0), "0A0000");
  EXPECT_EQ(MenuTagToCode(1002, 11), "0A0B00");
  for (int tag : {0, -1, 899, 905, 999, 1007, 1104, 1200, 1307, 1407, 2003}) {
    EXPECT_EQ(MenuTagToCode(tag, 3), "") << tag;
  }
}

struct CaptionCase {
  const char* code;
  const char* caption;
};

TEST(CodeToName, ComparesFixedCodesFirstThenRendersByType) {
  const CaptionCase cases[] = {
      // fixed codes win over the keyboard rendering
      {"020807", "Desktop"},
      // the AIM entry matches by its type digits, whatever follows
      {"0A0700", "AIM"},
      {"0A0000", "AIM"},
      {"0AFFFF", "AIM"},
      {"0A", "AIM"},
      {"0Azz", "AIM"},
      // fixed comparisons are case-sensitive; the types read from lower case have no rendering
      {"0a0700", ""},
      {"0300cd", ""},
      {"03022a", ""},
      // keyboard codes: modifiers in the order Ctrl, Shift, Alt, Win, then the key
      {"020104", "Ctrl+A"},
      {"020600", "Shift+Alt+"},
      {"020100", "Ctrl+"},
      {"020000", ""},
      {"020007", "D"},
      {"020808", "Win+E"},
      {"020F29", "Ctrl+Shift+Alt+Win+Esc"},
      {"0202e1", "Shift+Left Shift"},
      {"0201FF", "Ctrl+"},
      {"02F004", "A"},
      // types without a caption
      {"040000", ""},
      {"0B0501", ""},
      {"110000", ""},
      {"FF0000", ""},
      {"030000", ""},
      // fixed gun names apply without a gun key library
      {"0C0101", "AKM"},
      {"0C0202", "M16"},
      {"0C0303", "M4"},
      {"0C0404", "UMP9"},
      {"0C0505", "SCAR-L"},
      {"0C0606", "5.56mm Fire"},
      {"0C0607", "5.56mm Fire"},
      {"0C0808", "7.62mm Fire"},
      {"0C0809", "7.62mm Fire"},
      {"0C080A", "7.62mm Fire"},
      {"0C0707", ""},
      {"0C0102", ""},
      {"0c0101", ""},
      // texts that are not three bytes name nothing
      {"", ""},
      {"02", ""},
      {"02010", ""},
      {"0201040", ""},
      {"02 104", ""},
      {"zz0000", ""},
  };
  TestStrings strings;
  for (const CaptionCase& c : cases) {
    EXPECT_EQ(CodeToName(c.code, strings), c.caption) << '"' << c.code << '"';
  }
}

TEST(CodeToName, FireKeyIsNamedInEveryModeWithoutAskingForMacroNames) {
  TestStrings strings;
  TestMacroNames macros;
  macros.driver_count = 40;
  for (bool driver_only : {false, true}) {
    CaptionContext context;
    context.driver_only = driver_only;
    context.macro_names = &macros;
    EXPECT_EQ(CodeToName("0600F0", strings, context), "Fire Key");
  }
  EXPECT_TRUE(macros.asked.empty());
}

TEST(CodeToName, DeviceMemoryModeNamesTheSixMouseSlots) {
  TestStrings strings;
  TestMacroNames macros;
  CaptionContext context;
  context.macro_names = &macros;
  const CaptionCase cases[] = {
      {"060121", "mouse macro 1"},
      {"0E0221", "mouse macro 2"},
      {"060321", "mouse macro 3"},
      {"0E0421", "mouse macro 4"},
      {"060621", "mouse macro 5"},
      {"0E0721", "mouse macro 6"},
      {"0e0121", "mouse macro 1"},  // only fixed codes are compared as text
      {"060521", ""},               // page 0x500 holds the fire macros, not a slot
      {"060120", ""},
      {"0600F1", ""},
  };
  for (const CaptionCase& c : cases) {
    EXPECT_EQ(CodeToName(c.code, strings, context), c.caption) << c.code;
  }
  EXPECT_EQ(macros.asked, (std::vector<std::string>{"slot 1", "slot 2", "slot 3", "slot 4",
                                                    "slot 5", "slot 6", "slot 1"}));
}

TEST(CodeToName, DriverOnlyModeNamesTheDriverMacroList) {
  TestStrings strings;
  TestMacroNames macros;
  macros.driver_count = 32;
  CaptionContext context;
  context.driver_only = true;
  context.macro_names = &macros;
  const CaptionCase cases[] = {
      {"060120", "driver macro 0"},
      {"0E0920", "driver macro 1"},
      {"06F920", "driver macro 31"},
      {"060121", ""},  // a mouse slot address means nothing here
      {"060020", ""},
      {"060520", ""},
  };
  for (const CaptionCase& c : cases) {
    EXPECT_EQ(CodeToName(c.code, strings, context), c.caption) << c.code;
  }
  macros.driver_count = 1;
  EXPECT_EQ(CodeToName("060920", strings, context), "");
  for (const std::string& asked : macros.asked) EXPECT_TRUE(asked.starts_with("driver")) << asked;
}

TEST(CodeToName, MacroCodesAreUnnamedWithoutAMacroSource) {
  TestStrings strings;
  EXPECT_EQ(CodeToName("060121", strings), "");
  CaptionContext driver_only;
  driver_only.driver_only = true;
  EXPECT_EQ(CodeToName("060120", strings, driver_only), "");
}

TEST(CodeToName, GunKeyLibraryNamesCodesByPositionInsteadOfGuns) {
  TestStrings strings;
  CaptionContext context;
  context.fire_macro_codes =
      std::array<std::string, 10>{"0C0102", "000000", "0C0101", "0C0303", "000000",
                                  "000000", "000000", "000000", "000000", "0C0101"};
  const CaptionCase cases[] = {
      {"0C0102", "Fire Macro1"},
      {"0C0303", "Fire Macro4"},
      {"0C0101", "Fire Macro10"},  // listed twice: the later entry names it
      {"0C0202", ""},              // no gun name while a library is loaded
      {"0C0808", ""},
      {"0c0102", ""},
  };
  for (const CaptionCase& c : cases) {
    EXPECT_EQ(CodeToName(c.code, strings, context), c.caption) << c.code;
  }

  context.fire_macro_codes->fill("000000");
  EXPECT_EQ(CodeToName("0C0101", strings, context), "");
  context.fire_macro_codes->front() = "0C0101";
  EXPECT_EQ(CodeToName("0C0101", strings, context), "Fire Macro1");
}

}  // namespace
}  // namespace zelt
