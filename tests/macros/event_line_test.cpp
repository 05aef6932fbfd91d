#include "macros/event_line.h"

#include <gtest/gtest.h>

namespace zelt {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(EventLineBytes, ReadsTheBytePartOfEveryEventKind) {
  struct Case {
    const char* line;
    Bytes bytes;
  };
  const Case cases[] = {
      {"1 A CODE:8204", {0x82, 0x04}},
      {"2 A CODE:0204", {0x02, 0x04}},
      {"1 Space bar CODE:822C", {0x82, 0x2C}},
      {"1  CODE:8200", {0x82, 0x00}},  // a usage without a caption
      {"1 Ctrl CODE:8101", {0x81, 0x01}},
      {"2 Right Windows CODE:0180", {0x01, 0x80}},
      {"1 LeftKey CODE:00A1", {0xA1}},
      {"2 LeftKey CODE:0021", {0x21}},
      {"1 RightKey CODE:00A2", {0xA2}},
      {"2 MiddleKey CODE:0024", {0x24}},
      {"1 Forward CODE:00A8", {0xA8}},
      {"2 Backward CODE:0030", {0x30}},
      {"3 FB05", {0xFB, 0x05}},
      {"3 FB00", {0xFB, 0x00}},
      {"3 FB7F", {0xFB, 0x7F}},
      {"4 FBFF", {0xFB, 0xFF}},
      {"4 FB80", {0xFB, 0x80}},
      {"5 FA0C", {0xFA, 0x0C}},
      {"6 FAF4", {0xFA, 0xF4}},
      {"7 FD03", {0xFD, 0x03}},
      {"8 00FC", {0xFC}},
      {"1 a CODE:82ff", {0x82, 0xFF}},  // lower-case digits are read too
      {"0 0", {0xFE, 0x00}},
      {"0 7", {0xFE, 0x00}},
      {"0 100", {0xFE, 0x0C}},
      {"0 2039", {0xFE, 0xFE}},
      {"0 2040", {0xFE, 0xFF}},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_EQ(EventLineBytes(c.line, &error), c.bytes) << c.line << ": " << error;
  }
}

// A delay line above 2040 ms comes from decoding several delay events into one line; writing it
// back as one clamped event would lose the rest of the pause, so it becomes several events again.
TEST(EventLineBytes, SplitsDelaysAboveOneEventIntoAtMostFive) {
  const Bytes full{0xFE, 0xFF};
  auto repeat = [](const Bytes& part, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), part.begin(), part.end());
    return out;
  };
  EXPECT_EQ(EventLineBytes("0 4080"), repeat(full, 2));
  Bytes five_thousand = repeat(full, 2);
  five_thousand.insert(five_thousand.end(), {0xFE, 0x73});  // 920 ms = 115 units
  EXPECT_EQ(EventLineBytes("0 5000"), five_thousand);
  EXPECT_EQ(EventLineBytes("0 10200"), repeat(full, 5));
  EXPECT_EQ(EventLineBytes("0 10207"), repeat(full, 5));
  EXPECT_EQ(EventLineBytes("0 99999999999999999999"), repeat(full, 5));
}

TEST(EventLineBytes, RefusesMalformedLinesNamingThem) {
  const char* bad[] = {
      "",                     // no type
      "9 FB05",               // no such type
      "1A CODE:8204",         // no space after the type
      "1 A CODE:82G4",        // not hexadecimal
      "1 A CODE:820",         // three digits
      "1 A CODE:8204 ",       // trailing text
      "1 A 8204",             // no code mark
      "1 A CODE:0204",        // a press line holding a release
      "2 A CODE:8204",        // a release line holding a press
      "2 LeftKey CODE:00A1",  // a release line holding a button press
      "1 X CODE:00FF",        // no event
      "1 X CODE:FE0C",        // a delay written as a key
      "3 FBFF",               // positive type, negative distance
      "4 FB05",               // negative type, positive distance
      "3 FA05",               // Y event under an X type
      "3 FB5",                // short
      "7 FC03",               // not a repeat start
      "8 00FD",               // not a repeat end
      "0 ",                   // no milliseconds
      "0 -5",                 // negative
      "0 1e3",                // not decimal
  };
  for (const char* line : bad) {
    std::string error;
    EXPECT_EQ(EventLineBytes(line, &error), std::nullopt) << line;
    EXPECT_NE(error.find("\"" + std::string(line) + "\""), std::string::npos) << error;
  }
}

TEST(EventLineBuilders, WriteTheLinesTheBytesStandFor) {
  EXPECT_EQ(KeyLine(true, "A", 0x04), "1 A CODE:8204");
  EXPECT_EQ(KeyLine(false, "Enter", 0x28), "2 Enter CODE:0228");
  EXPECT_EQ(ModifierLine(true, 0x01), "1 Ctrl CODE:8101");
  EXPECT_EQ(ModifierLine(false, 0x80), "2 Right Windows CODE:0180");
  EXPECT_EQ(MouseButtonLine(0xB0), "1 Backward CODE:00B0");
  EXPECT_EQ(MouseButtonLine(0x28), "2 Forward CODE:0028");
  EXPECT_EQ(MouseButtonLine(0x40), std::nullopt);
  EXPECT_EQ(MouseButtonLine(0xA3), std::nullopt);  // two buttons at once is no event
  EXPECT_EQ(MoveLine(0xFB, 0xFF), "4 FBFF");
  EXPECT_EQ(MoveLine(0xFA, 0x00), "5 FA00");
  EXPECT_EQ(MoveLine(0xFA, 0x80), "6 FA80");
  EXPECT_EQ(RepeatStartLine(0xFE), "7 FDFE");
  EXPECT_EQ(DelayLine(10200), "0 10200");
}

TEST(ModifierName, NamesSingleBitsAndJoinsSeveral) {
  EXPECT_EQ(ModifierName(0x01), "Ctrl");
  EXPECT_EQ(ModifierName(0x02), "Shift");
  EXPECT_EQ(ModifierName(0x04), "Alt");
  EXPECT_EQ(ModifierName(0x08), "Left Windows");
  EXPECT_EQ(ModifierName(0x80), "Right Windows");
  EXPECT_EQ(ModifierName(0x10), "Right Ctrl");
  EXPECT_EQ(ModifierName(0x03), "Ctrl+Shift");
  EXPECT_EQ(ModifierName(0x00), "");
  // Whatever the name, the line still stands for its bytes.
  EXPECT_EQ(EventLineBytes(ModifierLine(true, 0x63)), (Bytes{0x81, 0x63}));
}

TEST(ContentRowForLine, ShowsTheValueOfEachLineType) {
  struct Case {
    const char* line;
    std::optional<EventLineType> icon;
    const char* text;
  };
  const Case cases[] = {
      {"1 A CODE:8204", EventLineType::kPress, "A"},
      {"2 Left Windows CODE:0108", EventLineType::kRelease, "Left Windows"},
      {"1  CODE:8200", EventLineType::kPress, ""},
      {"0 100", EventLineType::kDelay, "100 ms"},
      {"3 FB7F", EventLineType::kMoveXPositive, "X-Axis  127"},
      {"3 FB00", EventLineType::kMoveXPositive, "X-Axis  0"},
      {"4 FBFF", EventLineType::kMoveXNegative, "X-Axis  -1"},
      {"4 FB80", EventLineType::kMoveXNegative, "X-Axis  -128"},
      {"5 FA0C", EventLineType::kMoveYPositive, "Y-Axis  12"},
      {"6 FAFB", EventLineType::kMoveYNegative, "Y-Axis  -5"},
      {"7 FD03", EventLineType::kRepeatStart, "Rep-Start  4"},
      {"8 00FC", EventLineType::kRepeatEnd, "Rep-Stop"},
      // Lines too short for their type show nothing rather than reading outside the text.
      {"1 A", EventLineType::kPress, ""},
      {"3", EventLineType::kMoveXPositive, ""},
      {"x", std::nullopt, "x"},
      {"", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    MacroContentRow row = ContentRowForLine(c.line);
    EXPECT_EQ(row.icon, c.icon) << c.line;
    EXPECT_EQ(row.text, c.text) << c.line;
  }
}

TEST(DelayModeLine, ParsesAndFormatsTheThreeModes) {
  EXPECT_EQ(FormatDelayModeLine({MacroDelayMode::kNone, 0}), "00");
  EXPECT_EQ(FormatDelayModeLine({MacroDelayMode::kRecorded, 0}), "10");
  EXPECT_EQ(FormatDelayModeLine({MacroDelayMode::kFixed, 32}), "0132");
  auto fixed = ParseDelayModeLine("0150");
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->mode, MacroDelayMode::kFixed);
  EXPECT_EQ(fixed->fixed_delay_ms, 50u);
  EXPECT_EQ(ParseDelayModeLine("0110200")->fixed_delay_ms, 10200u);
  EXPECT_EQ(ParseDelayModeLine("00")->mode, MacroDelayMode::kNone);
  EXPECT_EQ(ParseDelayModeLine("10")->mode, MacroDelayMode::kRecorded);
  for (const char* bad : {"", "0", "01", "0110201", "01x", "11", "000", "1 A CODE:8204"}) {
    EXPECT_EQ(ParseDelayModeLine(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace zelt
