#include "perf/lighting_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/builtin_images.h"
#include "support/editor_fixtures.h"

namespace zelt {
namespace {

using test_support::kFills;
using test_support::Sections;
using test_support::SectionsOfImage1;

using ::testing::ElementsAre;

TEST(LightingEditor, ReadsImage1) {
  const Sections s = SectionsOfImage1();
  LightingEditor editor;
  editor.ReadFrom(s.a, s.b);
  EXPECT_EQ(editor.kind(), LightingFamily::kFlowing);
  EXPECT_TRUE(editor.mid_dpi_switch());
  EXPECT_TRUE(editor.left_dpi_switch());
  EXPECT_TRUE(editor.full_brightness());
  EXPECT_EQ(editor.led_count(), 10);
  for (int mode = 0; mode < kLightingModeCount; ++mode) EXPECT_TRUE(editor.mode_offered(mode));
  EXPECT_EQ(editor.flowing_mode(), 1);  // 0x42: mode 2, step 2, on
  EXPECT_EQ(editor.step(), 2);
  EXPECT_TRUE(editor.led_on());
}

TEST(LightingEditor, KindsReadAndWriteTheirFamilyBits) {
  struct Case {
    std::uint8_t byte00, byte01;
    LightingFamily kind;
    std::uint8_t written00, written01;  // written over 0x00 = 0x7F/0x01 = 0xC7 (bits 3, 4 clear)
    std::uint8_t written01_from_ff;     // written over 0x01 = 0xFF
  };
  const Case cases[] = {
      {0x00, 0x00, LightingFamily::kFlowing, 0x7F, 0xCF, 0xFF},
      {0x80, 0x18, LightingFamily::kTwoColour, 0xFF, 0xCF, 0xFF},
      {0x80, 0x08, LightingFamily::kTwoColour, 0xFF, 0xCF, 0xFF},
      {0x80, 0x10, LightingFamily::kBreathing, 0xFF, 0xD7, 0xF7},
      {0x80, 0x00, LightingFamily::kSynchronous, 0xFF, 0xC7, 0xE7},
  };
  for (const Case& c : cases) {
    Sections s = SectionsOfImage1();
    s.a[0x00] = c.byte00;
    s.a[0x01] = c.byte01;
    LightingEditor editor;
    editor.ReadFrom(s.a, s.b);
    EXPECT_EQ(editor.kind(), c.kind) << int{c.byte00} << "/" << int{c.byte01};

    // The switches are on in every case, so bits 0 and 2 stay set.
    editor.SetMidDpiSwitch(true);
    editor.SetLeftDpiSwitch(true);
    s.a[0x00] = 0x7F;
    s.a[0x01] = 0xC7;
    editor.WriteTo(s.a, s.b);
    EXPECT_EQ(s.a[0x00], c.written00);
    EXPECT_EQ(s.a[0x01], c.written01);
    s.a[0x01] = 0xFF;
    editor.WriteTo(s.a, s.b);
    EXPECT_EQ(s.a[0x01], c.written01_from_ff);
  }
}

TEST(LightingEditor, StateByteCarriesTheKindsModeTheLedOffBitAndTheFlowingStep) {
  struct Case {
    LightingFamily kind;
    bool on;
    std::uint8_t expected;
  };
  // Flowing mode index 4, two-colour mode index 2, step 6 in every case.
  const Case cases[] = {
      {LightingFamily::kFlowing, true, 0xC5},     {LightingFamily::kFlowing, false, 0xCD},
      {LightingFamily::kTwoColour, true, 0x03},   {LightingFamily::kTwoColour, false, 0x0B},
      {LightingFamily::kSynchronous, true, 0x00}, {LightingFamily::kBreathing, false, 0x08},
  };
  for (const Case& c : cases) {
    LightingEditor editor;
    editor.SetKind(c.kind);
    editor.SetFlowingMode(4);
    editor.SetTwoColourMode(2);
    editor.SetStep(6);
    editor.SetLedOn(c.on);
    EXPECT_EQ(editor.StateByte(), c.expected);

    // Reading the byte back gives the same state for the kind.
    LightingEditor back;
    back.SetKind(c.kind);
    back.ReadStateByte(c.expected);
    EXPECT_EQ(back.StateByte(), c.expected);
    EXPECT_EQ(back.led_on(), c.on);
  }
}

TEST(LightingEditor, ModeFieldZeroKeepsTheSelectionAndOfferedModesSelectTheFirstEntry) {
  Sections s = SectionsOfImage1();
  s.b[2] = 0x00 | 0x60;  // no mode, step 3
  LightingEditor editor;
  editor.SetFlowingMode(5);
  editor.ReadFrom(s.a, s.b);
  // Reading the offered modes re-selects the first entry; the state byte names no mode.
  EXPECT_EQ(editor.flowing_mode(), 0);
  EXPECT_EQ(editor.step(), 3);

  editor.SetFlowingMode(5);
  editor.ReadStateByte(0x08);
  EXPECT_EQ(editor.flowing_mode(), 5);
  EXPECT_FALSE(editor.led_on());

  editor.SetModeOffered(0, false);
  EXPECT_EQ(editor.flowing_mode(), 0);  // still selected although no longer offered
  EXPECT_EQ(editor.StateByte() & 0x07, 1);
}

TEST(LightingEditor, TwoColourKindReadsItsOwnModeAndWritesNoStep) {
  Sections s = SectionsOfImage1();
  s.a[0x00] |= 0x80;
  s.b[2] = 0xE6;  // mode 6, step bits set
  LightingEditor editor;
  editor.ReadFrom(s.a, s.b);
  EXPECT_EQ(editor.two_colour_mode(), 5);
  EXPECT_EQ(editor.flowing_mode(), 0);
  EXPECT_EQ(editor.StateByte(), 0x06);
}

TEST(LightingEditor, LedCountNibblesAboveNineLeaveTheCount) {
  for (int nibble = 0; nibble <= 15; ++nibble) {
    Sections s = SectionsOfImage1();
    s.a[0x03] = static_cast<std::uint8_t>(nibble << 4);
    LightingEditor editor;
    editor.SetLedCount(7);
    editor.ReadFrom(s.a, s.b);
    EXPECT_EQ(editor.led_count(), nibble <= 9 ? 13 - nibble : 7) << nibble;
    EXPECT_FALSE(editor.full_brightness());
  }
  // 0xA8: full brightness, the count shown before (10, from image 1) stays and is written.
  Sections s = SectionsOfImage1();
  LightingEditor editor;
  editor.ReadFrom(s.a, s.b);
  s.a[0x03] = 0xA8;
  editor.ReadFrom(s.a, s.b);
  EXPECT_TRUE(editor.full_brightness());
  EXPECT_EQ(editor.led_count(), 10);
  editor.WriteTo(s.a, s.b);
  EXPECT_EQ(s.a[0x03], 0x38);
}

TEST(LightingEditor, OfferedModesAreWrittenWithTheMarkerOnlyForTheFlowingKind) {
  for (LightingFamily kind : {LightingFamily::kFlowing, LightingFamily::kTwoColour,
                              LightingFamily::kSynchronous, LightingFamily::kBreathing}) {
    LightingEditor editor;
    editor.SetKind(kind);
    editor.SetModeOffered(1, false);
    editor.SetModeOffered(6, false);
    Sections s = SectionsOfImage1();
    s.a[0x04] = 0x40;
    editor.WriteTo(s.a, s.b);
    EXPECT_EQ(s.a[0x04], kind == LightingFamily::kFlowing ? 0x7B : 0x40);

    // Read always, whatever the kind.
    LightingEditor back;
    s.a[0x04] = 0x7A;
    back.ReadFrom(s.a, s.b);
    EXPECT_THAT(
        std::vector<bool>({back.mode_offered(0), back.mode_offered(1), back.mode_offered(6)}),
        ElementsAre(true, false, false));
  }
}

TEST(LightingEditor, WritesOnlyItsOwnBits) {
  LightingEditor editor;
  editor.SetKind(LightingFamily::kTwoColour);  // bit 4 of 0x01 not written, 0x04 not written
  editor.SetLedOn(false);
  editor.SetMidDpiSwitch(true);
  editor.SetLeftDpiSwitch(false);
  editor.SetFullBrightness(false);
  editor.SetLedCount(6);
  editor.SetTwoColourMode(3);
  for (std::uint8_t fill : kFills) {
    Sections s;
    s.a.fill(fill);
    s.b.fill(fill);
    editor.WriteTo(s.a, s.b);
    std::array<std::uint8_t, 48> expected_a;
    expected_a.fill(fill);
    expected_a[0x00] = static_cast<std::uint8_t>((fill & 0x7A) | 0x81);
    expected_a[0x01] = static_cast<std::uint8_t>(fill | 0x08);
    expected_a[0x03] = static_cast<std::uint8_t>((fill & 0x07) | 0x70);
    EXPECT_EQ(s.a, expected_a);
    EXPECT_THAT(s.b, ElementsAre(fill, fill, 0x0C, 0xF3, fill, fill, fill, fill));
  }
}

TEST(LightingEditor, DriverModeKeepsTheKindAndUsesTheStateRecord) {
  Sections s = SectionsOfImage1();  // section A says flowing
  LightingEditor editor;
  editor.SetKind(LightingFamily::kTwoColour);  // as the mouse reported it
  const std::array<std::uint8_t, 4> record_in{0x01, 0x0D, 0x00, 0x04};
  editor.ReadDriverFrom(s.a, record_in);
  EXPECT_EQ(editor.kind(), LightingFamily::kTwoColour);
  EXPECT_EQ(editor.two_colour_mode(), 4);
  EXPECT_FALSE(editor.led_on());
  EXPECT_EQ(editor.led_count(), 10);

  editor.SetMidDpiSwitch(false);
  for (std::uint8_t fill : kFills) {
    std::array<std::uint8_t, 48> a;
    a.fill(fill);
    std::array<std::uint8_t, 4> record{0x81, 0xEE, 0x33, 0x09};
    editor.WriteDriverTo(a, record);
    std::array<std::uint8_t, 48> expected_a;
    expected_a.fill(fill);
    expected_a[0x00] = static_cast<std::uint8_t>((fill & ~0x05) | 0x04);
    EXPECT_EQ(a, expected_a);
    EXPECT_THAT(record, ElementsAre(0x81, 0x0D, 0x33, 0x09));
  }
}

}  // namespace
}  // namespace zelt
