#include "app/language.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "util/utf16.h"

namespace zelt {
namespace {

// The bytes of a language file holding `text`, UTF-16 little endian.
std::vector<std::uint8_t> Utf16Le(const std::string& text, bool byte_order_mark = true) {
  std::vector<std::uint8_t> bytes;
  if (byte_order_mark) bytes = {0xFF, 0xFE};
  for (char16_t unit : Utf8ToUtf16(text)) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

Language BuiltIn(int number) {
  auto language = Language::LoadBuiltIn(number);
  EXPECT_TRUE(language.has_value()) << number;
  return language.value_or(Language());
}

TEST(TokenizeLanguageText, SplitsAtWhiteSpaceAndHonoursQuotes) {
  struct Case {
    std::string text;
    std::vector<std::string> tokens;
  };
  const Case cases[] = {
      {"\"Str004=Office Mode\"", {"Str004=Office Mode"}},
      {"Str004=Office Mode", {"Str004=Office", "Mode"}},
      {"Str004=\"Office Mode\"", {"Str004=\"Office", "Mode\""}},
      {"\"say \"\"hi\"\" now\"", {"say \"hi\" now"}},
      {"\"\"\"\"", {"\""}},
      {"\"\" x", {"", "x"}},
      {"\"a\"b", {"a", "b"}},
      {"\"never closed  \n more", {"never closed  \n more"}},
      {" \t\r\n a\x01"
       "b\x1f\x7f c  ",
       {"a", "b", "\x7f", "c"}},
      {std::string("a\0b", 3), {"a", "b"}},
      {"\"\u5B8F \u540D\"\u00A0x", {"\u5B8F \u540D", "\u00A0x"}},
      {"", {}},
      {"  \r\n", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(TokenizeLanguageText(c.text), c.tokens) << c.text;
}

TEST(DecodeLanguageBytes, ReadsTheSameWithOrWithoutByteOrderMark) {
  const std::string text = "[lang1] \"Str000=Conf\u00EDrm \U0001F3AE\"";
  EXPECT_EQ(DecodeLanguageBytes(Utf16Le(text, true)), text);
  EXPECT_EQ(DecodeLanguageBytes(Utf16Le(text, false)), text);
  EXPECT_EQ(DecodeLanguageBytes(std::vector<std::uint8_t>{0xFF, 0xFE}), "");
  EXPECT_EQ(DecodeLanguageBytes(std::vector<std::uint8_t>{}), "");
}

TEST(DecodeLanguageBytes, DropsATrailingOddByteAndReplacesBrokenSurrogates) {
  std::vector<std::uint8_t> bytes = Utf16Le("ab");
  bytes.push_back(0x41);
  EXPECT_EQ(DecodeLanguageBytes(bytes), "ab");
  EXPECT_EQ(DecodeLanguageBytes(std::vector<std::uint8_t>{0x00, 0xDC, 0x41, 0x00}), "\uFFFDA");
}

TEST(Language, ReadsItsOwnSectionWithCaseInsensitiveKeys) {
  const std::vector<std::uint8_t> file = Utf16Le(
      "//********\n\"; a note, \"\"quoted\"\"\"\n[lang2]\n"
      "\"FontName=DS-Digital\" \"FontFile=DS-DIGIB.TTF\" \"Title=USB Gaming Mouse\"\n"
      "Str004=Office Mode\n\"Str005 = Gaming  Mode \"\n\"Str006=\"\n"
      "[lang1]\n\"Str004=Other\"\n");
  const Language two = Language::FromBytes(file, 2);
  EXPECT_EQ(two.Number(), 2);
  EXPECT_EQ(two.FontName(), "DS-Digital");
  EXPECT_EQ(two.FontFile(), "DS-DIGIB.TTF");
  EXPECT_EQ(two.Title(), "USB Gaming Mouse");
  EXPECT_EQ(two.Text("Str004"), "Office");  // unquoted: "Mode" is a word of its own
  EXPECT_EQ(two.Text("Mode"), "");
  EXPECT_EQ(two.Text("STR005"), "Gaming  Mode");
  EXPECT_EQ(two.Text("str005"), "Gaming  Mode");
  EXPECT_TRUE(two.Find("Str006").has_value());
  EXPECT_EQ(two.Text("Str006"), "");
  EXPECT_EQ(two.Text("Str999"), "");
  EXPECT_FALSE(two.Find("Str999").has_value());

  EXPECT_EQ(Language::FromBytes(file, 1).Text("Str004"), "Other");
  EXPECT_EQ(Language::FromBytes(file, 3).Text("Str004"), "");
  EXPECT_EQ(Language().Text("Str004"), "");
}

TEST(Language, ServesAsTheStringTable) {
  const Language one = BuiltIn(1);
  const StringTable& table = one;
  EXPECT_EQ(table.Text("Str210"), "Left Click");
  EXPECT_EQ(table.Text("Str999"), "");
}

TEST(LanguageStringId, WritesThreeDigits) {
  EXPECT_EQ(LanguageStringId(0), "Str000");
  EXPECT_EQ(LanguageStringId(17), "Str017");
  EXPECT_EQ(LanguageStringId(861), "Str861");
}

TEST(BuiltInLanguages, HaveTheirFontsAndTitles) {
  const Language one = BuiltIn(1), two = BuiltIn(2), three = BuiltIn(3);
  EXPECT_EQ(one.FontName(), "Eurostile Next LT Pro");
  EXPECT_TRUE(one.Find("FontFile").has_value());
  EXPECT_EQ(one.FontFile(), "");
  EXPECT_EQ(one.Title(), "KV90 Gaming Mouse");
  EXPECT_EQ(two.FontName(), "DS-Digital");
  EXPECT_EQ(two.FontFile(), "DS-DIGIB.TTF");
  EXPECT_EQ(two.Title(), "USB Gaming Mouse");
  EXPECT_EQ(three.FontName(), "Arial Narrow");
  EXPECT_FALSE(three.Find("FontFile").has_value());
  EXPECT_EQ(three.Title(), "Marovelta Gaming Mouse");
  EXPECT_FALSE(Language::LoadBuiltIn(0).has_value());
  EXPECT_FALSE(Language::LoadBuiltIn(4).has_value());
}

TEST(BuiltInLanguages, DefineTheSameIdsExceptTheOnesLanguageThreeLacks) {
  const std::array<Language, 3> languages = {BuiltIn(1), BuiltIn(2), BuiltIn(3)};
  const std::vector<int> lacking_in_three = {311, 856, 857, 858, 859, 860, 861};
  std::array<int, 3> counts{};
  for (int id = 0; id <= 999; ++id) {
    const std::string key = LanguageStringId(id);
    const bool in_one = languages[0].Find(key).has_value();
    EXPECT_EQ(languages[1].Find(key).has_value(), in_one) << key;
    const bool lacking =
        std::find(lacking_in_three.begin(), lacking_in_three.end(), id) != lacking_in_three.end();
    EXPECT_EQ(languages[2].Find(key).has_value(), in_one && !lacking) << key;
    for (int n = 0; n < 3; ++n) {
      if (languages[n].Find(key)) {
        ++counts[n];
        EXPECT_FALSE(languages[n].Text(key).empty()) << n + 1 << " " << key;
      }
    }
  }
  EXPECT_EQ(counts, (std::array<int, 3>{207, 207, 200}));
  EXPECT_NE(languages[1].Text("Str000"), languages[0].Text("Str000"));
  EXPECT_NE(languages[2].Text("Str000"), languages[0].Text("Str000"));
}

TEST(BuiltInLanguages, LanguageOneHasTheListedTexts) {
  struct Case {
    const char* id;
    const char* text;
  };
  const Case cases[] = {
      {"Str000", "Confirm"},
      {"Str001", "Apply"},
      {"Str004", "Office"},
      {"Str011", "Chinese"},
      {"Str017", "Read"},
      {"Str020", "Finding the specified device"},
      {"Str100", "Please Connect the USB Device"},
      {"Str101", "Please check your device is attached to USB port"},
      {"Str102", "BIN file type error"},
      {"Str104", "storage space shortage"},
      {"Str106", "This macro already exists"},
      {"Str107", "The mouse manufacturer or product id error"},
      {"Str108", "Please keep a Left Key"},
      {"Str109", "Fail"},
      {"Str200", "*"},
      {"Str201", "Standard Mouse Keys"},
      {"Str208", "Fire Macro"},
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
      {"Str230", "DPI"},
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
      {"Str264", "Stop"},
      {"Str265", "Refresh"},
      {"Str266", "Favorites"},
      {"Str311", "8000"},
      {"Str401", "Stop"},
      {"Str430", "OK for clear macro?"},
      {"Str600", "AKM"},
      {"Str601", "M16"},
      {"Str602", "M4"},
      {"Str603", "UMP9"},
      {"Str604", "SCAR-L"},
      {"Str605", "5.56mm Fire"},
      {"Str606", "7.62mm Fire"},
      {"Str700", "Press 'Middle Click' 3sec to switch office/game mode"},
      {"Str803", "Continusely"},
      {"Str815", "LED Mode Switch Enable\uFF08L+DPI)"},
      {"Str861", "Infinite loop"},
  };
  const Language one = BuiltIn(1);
  for (const Case& c : cases) EXPECT_EQ(one.Text(c.id), c.text) << c.id;
  for (const char* absent : {"Str006", "Str018", "Str105", "Str209", "Str403", "Str862"}) {
    EXPECT_FALSE(one.Find(absent).has_value()) << absent;
  }
}

TEST(FindStringId, TheLastMatchOverTheBuiltInLanguagesWins) {
  EXPECT_EQ(FindStringIdInBuiltInLanguages("Stop"), "Str401");  // not Str251 or Str264
  EXPECT_EQ(FindStringIdInBuiltInLanguages("Left Click"), "Str210");
  EXPECT_EQ(FindStringIdInBuiltInLanguages("Apply"), "");  // Str001 cannot be found
  EXPECT_EQ(FindStringIdInBuiltInLanguages("stop"), "");   // exact case
  EXPECT_EQ(FindStringIdInBuiltInLanguages(""), "");
}

TEST(FindStringId, FormsIdsWithoutLeadingZerosUpTo700) {
  const Language a = Language::FromBytes(
      Utf16Le("[lang1] \"Str050=Low\" \"Str5=Short\" \"Str150=Same\" \"Str250=Same\" "
              "\"Str700=Edge\" \"Str701=Past\" \"STR300=Upper\""),
      1);
  const Language b = Language::FromBytes(Utf16Le("[lang2] \"Str120=Same\""), 2);
  const std::array<const Language*, 2> ab = {&a, &b};
  const std::array<const Language*, 2> ba = {&b, &a};
  EXPECT_EQ(FindStringId("Low", ab), "");        // Str050 is looked for as "Str50"
  EXPECT_EQ(FindStringId("Short", ab), "Str5");  // a key written the same way is found
  EXPECT_EQ(FindStringId("Edge", ab), "Str700");
  EXPECT_EQ(FindStringId("Past", ab), "");
  EXPECT_EQ(FindStringId("Upper", ab), "Str300");
  EXPECT_EQ(FindStringId("Same", ab), "Str120");  // the later language wins over a higher id
  EXPECT_EQ(FindStringId("Same", ba), "Str250");  // within a language the higher id wins
  EXPECT_EQ(FindStringId("", ab), "");            // undefined keys do not match
}

// A button label shows a function name in the current language; switching languages looks the
// name up and shows that id's text in the new language. Every function name must therefore lead
// back to its own id, except language 1's two other "Stop" texts, which lead to the record stop.
TEST(BuiltInLanguages, FunctionNamesLeadBackToTheirIds) {
  std::vector<int> ids = {210, 211, 212, 213, 214, 220, 221, 222, 223, 224, 225, 226, 230, 231,
                          232, 233, 240, 241, 242, 243, 250, 251, 252, 253, 254, 255, 256, 260,
                          261, 262, 263, 264, 265, 266, 600, 601, 602, 603, 604, 605, 606};
  for (int n = 1; n <= 3; ++n) {
    const Language language = BuiltIn(n);
    for (int id : ids) {
      const std::string key = LanguageStringId(id);
      const std::string expected = (n == 1 && (id == 251 || id == 264)) ? "Str401" : key;
      EXPECT_EQ(FindStringIdInBuiltInLanguages(language.Text(key)), expected) << n << " " << key;
    }
  }
}

}  // namespace
}  // namespace zelt
