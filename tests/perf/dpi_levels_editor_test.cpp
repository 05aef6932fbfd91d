#include "perf/dpi_levels_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/builtin_images.h"
#include "support/editor_fixtures.h"

namespace zelt {
namespace {

using test_support::ChangedBits;
using test_support::kFills;
using test_support::Sections;
using test_support::SectionsOfImage1;

using ::testing::ElementsAre;

TEST(DpiLevelsEditor, ReadsImage1) {
  const Sections s = SectionsOfImage1();
  DpiLevelsEditor editor;
  editor.ReadFrom(s.a, s.b);
  EXPECT_EQ(editor.count(), 7);
  EXPECT_EQ(editor.current_level(), 1);
  std::vector<int> values;
  for (int level = 0; level < kDpiLevelCount; ++level) values.push_back(editor.value_index(level));
  EXPECT_THAT(values, ElementsAre(1, 4, 6, 7, 9, 10, 7));
  EXPECT_EQ(editor.colour(0), (RgbColour{0x00, 0xFF, 0x00}));
  EXPECT_EQ(editor.colour(3), (RgbColour{0xFF, 0x80, 0x00}));
  EXPECT_EQ(editor.colour(6), (RgbColour{0xFF, 0xFF, 0xFF}));
}

TEST(DpiLevelsEditor, CountOutsideTwoToSevenLeavesTheCountAndAFarLevelBecomesTheHighest) {
  struct Case {
    std::uint8_t count_byte;
    std::uint8_t level_byte;
    int count;
    int level;
  };
  // The editor showed 4 levels before each read.
  const Case cases[] = {
      {2, 0, 2, 0}, {7, 6, 7, 6}, {3, 3, 3, 2},       {3, 0x7F, 3, 2}, {0, 1, 4, 1},
      {1, 2, 4, 2}, {8, 5, 4, 3}, {0xFF, 0xFF, 4, 3}, {5, 0x81, 5, 4},  // a smoothing bit left in
                                                                        // the level byte names no
                                                                        // level
  };
  for (const Case& c : cases) {
    Sections s = SectionsOfImage1();
    DpiLevelsEditor editor;
    editor.SetCount(4);
    s.a[0x02] = c.count_byte;
    s.b[0] = c.level_byte;
    editor.ReadFrom(s.a, s.b);
    EXPECT_EQ(editor.count(), c.count) << int{c.count_byte};
    EXPECT_EQ(editor.current_level(), c.level) << int{c.count_byte} << " " << int{c.level_byte};
    editor.WriteTo(s.a, s.b);
    EXPECT_EQ(s.b[0], c.level);
    EXPECT_EQ(s.b[1], 0xFF - c.level);
  }
}

TEST(DpiLevelsEditor, ANewCountMakesItsHighestLevelCurrentAndLevelsPastItAreRefused) {
  DpiLevelsEditor editor;
  editor.SetCount(3);
  EXPECT_EQ(editor.current_level(), 2);
  editor.SetCurrentLevel(0);
  editor.SetCurrentLevel(3);
  EXPECT_EQ(editor.current_level(), 0);
  editor.SetCount(8);
  editor.SetCount(1);
  EXPECT_EQ(editor.count(), 3);
  EXPECT_EQ(editor.current_level(), 0);
}

TEST(DpiLevelsEditor, AValueNeverChosenStaysUnchosenThroughReadAndWrite) {
  Sections s = SectionsOfImage1();
  s.a[0x06 + 4] = kNoDpiValue;
  DpiLevelsEditor editor;
  editor.ReadFrom(s.a, s.b);
  EXPECT_EQ(editor.value_index(4), kNoDpiValue);
  Sections out = SectionsOfImage1();
  editor.WriteTo(out.a, out.b);
  EXPECT_EQ(out.a[0x0A], 0xFF);
}

TEST(DpiLevelsEditor, WritesOnlyItsOwnBytes) {
  DpiLevelsEditor editor;
  editor.SetCount(5);
  editor.SetCurrentLevel(2);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    editor.SetValueIndex(level, static_cast<std::uint8_t>(level + 3));
    editor.SetColour(level, RgbColour{0x11, 0x22, static_cast<std::uint8_t>(level)});
  }
  for (std::uint8_t fill : kFills) {
    Sections s;
    s.a.fill(fill);
    s.b.fill(fill);
    editor.WriteTo(s.a, s.b);
    const auto changed_a = ChangedBits(s.a, fill);
    for (std::size_t i = 0; i < 48; ++i) {
      const bool owned = i == 0x02 || (i >= 0x06 && i <= 0x0C) || (i >= 0x1A && i <= 0x2E);
      if (!owned) {
        EXPECT_EQ(changed_a[i], 0) << "section A byte " << i;
      }
    }
    EXPECT_THAT(std::vector(s.a.begin() + 0x06, s.a.begin() + 0x0D),
                ElementsAre(3, 4, 5, 6, 7, 8, 9));
    EXPECT_THAT(std::vector(s.a.begin() + 0x29, s.a.begin() + 0x2C), ElementsAre(0x11, 0x22, 5));
    EXPECT_THAT(s.b, ElementsAre(2, 0xFD, fill, fill, fill, fill, fill, fill));
    EXPECT_EQ(s.a[0x02], 5);
  }
}

TEST(DpiLevelsEditor, DriverModeKeepsTheLevelInTheStateRecordWithSmoothingInBit7) {
  Sections s = SectionsOfImage1();
  const std::array<std::uint8_t, 4> record_in{0x83, 0x42, 0x5C, 0x07};
  DpiLevelsEditor editor;
  editor.ReadDriverFrom(s.a, record_in);
  EXPECT_EQ(editor.current_level(), 3);  // section B's level 1 is not looked at

  for (bool smoothing : {true, false}) {
    Sections out;
    out.a.fill(0xEE);
    out.b.fill(0xEE);
    std::array<std::uint8_t, 4> record{0xEE, 0xEE, 0xEE, 0xEE};
    editor.WriteDriverTo(out.a, out.b, record, smoothing);
    const std::uint8_t level = smoothing ? 0x83 : 0x03;
    // Level 4's value index is 7 in image 1.
    EXPECT_THAT(record, ElementsAre(level, 0xEE, 0xEE, 0x07));
    EXPECT_THAT(out.b, ElementsAre(level, 0xFF - level, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE));
    for (std::size_t i = 0; i < 48; ++i) {
      const bool owned = i == 0x02 || (i >= 0x06 && i <= 0x0C);
      EXPECT_EQ(out.a[i] == 0xEE, !owned) << "section A byte " << i;
    }
  }
}

}  // namespace
}  // namespace zelt
