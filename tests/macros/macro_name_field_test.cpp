#include "macros/macro_name_field.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

MacroNameField FieldOf(const Bytes& start) {
  MacroNameField field{};
  std::copy(start.begin(), start.end(), field.begin());
  return field;
}

TEST(MacroNameField, StoresCodeUnitsHighByteFirst) {
  struct Case {
    const char* name;
    Bytes start;  // the field's leading bytes; the rest is 0
    std::size_t units;
  };
  const Case cases[] = {
      {"Ab", {0x00, 0x41, 0x00, 0x62}, 2},
      {"Größe", {0x00, 0x47, 0x00, 0x72, 0x00, 0xF6, 0x00, 0xDF, 0x00, 0x65}, 5},
      {"宏1", {0x5B, 0x8F, 0x00, 0x31}, 2},
      {"\xF0\x9F\x98\x80!", {0xD8, 0x3D, 0xDE, 0x00, 0x00, 0x21}, 3},  // U+1F600 takes a pair
      {"ABCDEFGHIJKLMNOP",
       {0x00, 0x41, 0x00, 0x42, 0x00, 0x43, 0x00, 0x44, 0x00, 0x45, 0x00,
        0x46, 0x00, 0x47, 0x00, 0x48, 0x00, 0x49, 0x00, 0x4A, 0x00, 0x4B,
        0x00, 0x4C, 0x00, 0x4D, 0x00, 0x4E, 0x00, 0x4F, 0x00, 0x50},
       16},
      {"", {}, 0},
  };
  for (const auto& c : cases) {
    std::string error;
    auto field = EncodeMacroName(c.name, &error);
    ASSERT_TRUE(field) << c.name << ": " << error;
    EXPECT_EQ(*field, FieldOf(c.start)) << c.name;
    EXPECT_EQ(DecodeMacroName(*field), c.name);
    EXPECT_EQ(MacroNameUnits(c.name), c.units) << c.name;
    EXPECT_EQ(IsMacroNamePresent(*field), c.units > 0) << c.name;
  }
}

TEST(MacroNameField, FitsSixteenUnitsWithASurrogatePairAtTheEnd) {
  std::string name = std::string(14, 'x') + "\xF0\x9F\x98\x80";  // 14 + 2 units
  auto field = EncodeMacroName(name);
  ASSERT_TRUE(field);
  EXPECT_EQ((*field)[28], 0xD8);
  EXPECT_EQ((*field)[31], 0x00);
  EXPECT_EQ(DecodeMacroName(*field), name);
}

TEST(MacroNameField, RefusesNamesItCannotStore) {
  const std::string bad[] = {
      std::string(17, 'x'),                       // 17 units
      std::string(15, 'x') + "\xF0\x9F\x98\x80",  // 15 + 2 units
      "a\x80",                                    // stray continuation byte
      "\xC0\x80",                                 // overlong form of NUL
      "\xED\xA0\x80",                             // an encoded surrogate
      "\xE2\x82",                                 // cut sequence at the end
      "\xF4\x90\x80\x80",                         // past U+10FFFF
      std::string("a\0b", 3),                     // NUL inside
  };
  for (const auto& name : bad) {
    std::string error;
    EXPECT_EQ(EncodeMacroName(name, &error), std::nullopt) << name;
    EXPECT_FALSE(error.empty());
  }
  EXPECT_EQ(MacroNameUnits("\xE2\x82"), std::nullopt);
}

TEST(MacroNameField, DecodesDamagedFieldsWithinTheirBytes) {
  // Lone surrogates become U+FFFD; the name ends at the first zero unit.
  EXPECT_EQ(DecodeMacroName(FieldOf({0x00, 0x41, 0xD8, 0x3D})), "A\xEF\xBF\xBD");
  EXPECT_EQ(DecodeMacroName(FieldOf({0xDE, 0x00, 0x00, 0x41})),
            "\xEF\xBF\xBD"
            "A");
  EXPECT_EQ(DecodeMacroName(FieldOf({0xDE, 0x00, 0xD8, 0x3D})), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(DecodeMacroName(FieldOf({0x00, 0x41, 0x00, 0x00, 0x00, 0x42})), "A");

  // Sixteen units with no zero after them: the name stops at the field's end.
  Bytes full(64, 0x00);
  for (std::size_t i = 1; i < full.size(); i += 2) full[i] = 'z';
  EXPECT_EQ(DecodeMacroName(full), std::string(16, 'z'));

  // A short span is read only as far as it goes; an odd last byte is no unit.
  Bytes three{0x00, 0x41, 0x00};
  EXPECT_EQ(DecodeMacroName(three), "A");
  EXPECT_EQ(DecodeMacroName({}), "");

  // Presence looks at the first two bytes only.
  EXPECT_FALSE(IsMacroNamePresent(FieldOf({0x00, 0x00, 0x00, 0x41})));
  EXPECT_TRUE(IsMacroNamePresent(FieldOf({0x01, 0x00})));
  EXPECT_EQ(DecodeMacroName(FieldOf({0x01, 0x00})), "\xC4\x80");  // U+0100
  EXPECT_FALSE(IsMacroNamePresent(Bytes{0x00}));
}

}  // namespace
}  // namespace zelt
