#include "keys/button_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/builtin_images.h"
#include "support/editor_fixtures.h"

namespace zelt {
namespace {

using test_support::FakeCaption;
using test_support::kAim;
using test_support::kFills;
using test_support::kFireKey;

using ::testing::ElementsAre;

std::array<std::uint8_t, 55> ProfileOfImage1() {
  std::array<std::uint8_t, 55> profile{};
  const DataBuf& image = BuiltinImage(1);
  std::copy_n(image.begin() + 0x40, 55, profile.begin());
  return profile;
}

std::array<std::uint8_t, 3> BytesAt(const std::array<std::uint8_t, 55>& profile, int key_mode,
                                    int button) {
  const std::size_t at = ProfileOffsetOf(key_mode, button);
  return {profile[at], profile[at + 1], profile[at + 2]};
}

TEST(ButtonEditor, CodesComeFromTheProfileBytes) {
  auto profile = ProfileOfImage1();
  profile[0x5B - 0x40 + 3 * 8 + 2] = 0xAB;  // key mode 2, button 9
  ButtonEditor editor;
  editor.ReadCodesFrom(profile);
  EXPECT_EQ(editor.code(1, 1), "010100");
  EXPECT_EQ(editor.code(1, 6), "070000");
  EXPECT_EQ(editor.code(2, 5), "011000");
  EXPECT_EQ(editor.code(2, 9), "0800AB");
  EXPECT_EQ(ProfileOffsetOf(2, 1), 0x1Bu);

  editor.ClearCodes();
  EXPECT_EQ(editor.code(1, 1), "");
  EXPECT_EQ(editor.code(2, 9), "");
}

TEST(ButtonEditor, SetCodeChangesTextAndBytesOfThatButtonOnly) {
  auto profile = ProfileOfImage1();
  ButtonEditor editor;
  editor.ReadCodesFrom(profile);
  const auto before = profile;

  editor.SetCode(2, 4, "0a0500", profile);
  EXPECT_EQ(editor.code(2, 4), "0A0500");
  EXPECT_THAT(BytesAt(profile, 2, 4), ElementsAre(0x0A, 0x05, 0x00));
  for (std::size_t i = 0; i < 55; ++i) {
    if (i < ProfileOffsetOf(2, 4) || i >= ProfileOffsetOf(2, 4) + 3) {
      EXPECT_EQ(profile[i], before[i]) << i;
    }
  }

  // Text that is no code changes nothing.
  editor.SetCode(2, 4, "0A05", profile);
  editor.SetCode(2, 4, "zz0000", profile);
  EXPECT_EQ(editor.code(2, 4), "0A0500");
  EXPECT_THAT(BytesAt(profile, 2, 4), ElementsAre(0x0A, 0x05, 0x00));
}

TEST(ButtonEditor, KeyModeMemoryAndSwitchMethodsReadAndWriteOnlyTheirBits) {
  struct Case {
    int key_mode;
    bool kept;
    std::uint8_t methods;
  };
  for (const Case& c :
       {Case{1, true, 0}, Case{2, false, 0x05}, Case{2, true, 0x07}, Case{1, false, 0x02}}) {
    for (std::uint8_t fill : kFills) {
      ButtonEditor editor;
      editor.SetKeyMode(c.key_mode);
      editor.SetKeyModeKept(c.kept);
      editor.SetSwitchMethods(c.methods);
      WorkingCopies copies;
      copies.section_a.fill(fill);
      copies.section_b.fill(fill);
      editor.WriteTo(copies);

      const std::uint8_t mode_byte = c.key_mode == 2 ? 0x80 : 0x00;
      EXPECT_THAT(copies.section_b,
                  ElementsAre(fill, fill, fill, fill, mode_byte, 0xFF - mode_byte, fill, fill));
      std::array<std::uint8_t, 48> expected_a;
      expected_a.fill(fill);
      expected_a[0x00] = static_cast<std::uint8_t>((fill & ~0x08) | (c.kept ? 0 : 0x08));
      expected_a[0x01] = static_cast<std::uint8_t>((fill & ~0x07) | c.methods);
      EXPECT_EQ(copies.section_a, expected_a);

      ButtonEditor back;
      back.ReadFrom(copies);
      EXPECT_EQ(back.key_mode(), c.key_mode);
      EXPECT_EQ(back.key_mode_kept(), c.kept);
      EXPECT_EQ(back.switch_methods(), c.methods);
    }
  }
}

TEST(ButtonEditor, DriverApplyWritesOnlyTheKeyModePair) {
  ButtonEditor editor;
  editor.SetKeyMode(2);
  editor.SetKeyMode(3);  // ignored
  std::array<std::uint8_t, 8> section_b{1, 2, 3, 4, 5, 6, 7, 8};
  editor.WriteDriverKeyMode(section_b);
  EXPECT_THAT(section_b, ElementsAre(1, 2, 3, 4, 0x80, 0x7F, 7, 8));
}

TEST(ButtonEditor, AimIndexComesFromTheLastAimButtonOfKeyMode2) {
  auto profile = ProfileOfImage1();
  ButtonEditor editor;
  editor.ReadCodesFrom(profile);
  editor.SetAimDpiIndex(9);
  editor.RefreshAimKey(FakeCaption, kAim);
  EXPECT_EQ(editor.aim_dpi_index(), 9);  // no AIM button: unchanged

  editor.SetCode(1, 8, "0A0700", profile);
  editor.RefreshAimKey(FakeCaption, kAim);
  EXPECT_EQ(editor.aim_dpi_index(), 7);

  editor.SetCode(2, 3, "0A0200", profile);
  editor.SetCode(2, 6, "0A0400", profile);
  editor.SetCode(1, 9, "0A0B00", profile);
  editor.RefreshAimKey(FakeCaption, kAim);
  EXPECT_EQ(editor.aim_dpi_index(), 4);
}

TEST(ButtonEditor, AimButtonsOfBothKeyModesTakeTheAimIndexBeforeTheProfileIsWritten) {
  auto profile = ProfileOfImage1();
  ButtonEditor editor;
  editor.ReadCodesFrom(profile);
  editor.SetCode(1, 7, "0A0100", profile);
  editor.SetCode(2, 2, "0A0900", profile);
  editor.SetCode(1, 9, "0600F0", profile);
  editor.SetAimDpiIndex(6);
  const auto before = profile;

  editor.AIMKeyToDataBuf(profile, FakeCaption, kAim, kFireKey, /*driver_only=*/false,
                         /*continuous_fire=*/true);
  EXPECT_EQ(editor.code(1, 7), "0A0600");
  EXPECT_EQ(editor.code(2, 2), "0A0600");
  EXPECT_EQ(editor.code(1, 9), "0600F0");  // the fire key changes only in driver-only mode
  for (std::size_t i = 0; i < 55; ++i) {
    if (i == ProfileOffsetOf(1, 7) + 1 || i == ProfileOffsetOf(2, 2) + 1) {
      EXPECT_EQ(profile[i], 6) << i;
    } else {
      EXPECT_EQ(profile[i], before[i]) << i;
    }
  }
}

TEST(ButtonEditor, DriverOnlyFireKeyButtonsTakeTheTypeOfContinuousOrCountedFire) {
  for (bool continuous : {true, false}) {
    auto profile = ProfileOfImage1();
    ButtonEditor editor;
    editor.ReadCodesFrom(profile);
    editor.SetCode(1, 4, "0600F0", profile);
    editor.SetCode(2, 5, "0E00F0", profile);
    editor.AIMKeyToDataBuf(profile, FakeCaption, kAim, kFireKey, /*driver_only=*/true, continuous);
    const std::string expected = continuous ? "0E00F0" : "0600F0";
    EXPECT_EQ(editor.code(1, 4), expected);
    EXPECT_EQ(editor.code(2, 5), expected);
    EXPECT_THAT(BytesAt(profile, 1, 4), ElementsAre(continuous ? 0x0E : 0x06, 0x00, 0xF0));
    EXPECT_THAT(BytesAt(profile, 2, 5), ElementsAre(continuous ? 0x0E : 0x06, 0x00, 0xF0));
    EXPECT_EQ(editor.code(1, 1), "010100");
  }
}

TEST(ButtonEditor, AnEmptyCaptionTextMatchesNoButton) {
  // Codes the language cannot name show an empty caption; a missing AIM or fire key text must
  // not turn them into AIM or fire key buttons.
  auto profile = ProfileOfImage1();
  ButtonEditor editor;
  editor.ReadCodesFrom(profile);
  const auto before = profile;
  editor.AIMKeyToDataBuf(profile, FakeCaption, "", "", /*driver_only=*/true, true);
  EXPECT_EQ(profile, before);
  editor.SetAimDpiIndex(3);
  editor.RefreshAimKey(FakeCaption, "");
  EXPECT_EQ(editor.aim_dpi_index(), 3);
}

}  // namespace
}  // namespace zelt
