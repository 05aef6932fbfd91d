#include "fire/fire_key_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/builtin_images.h"

namespace zelt {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::array<std::uint8_t, 11> FireKeyOfImage1() {
  std::array<std::uint8_t, 11> fire_key{};
  std::copy_n(BuiltinImage(1).begin() + 0xF0, 11, fire_key.begin());
  return fire_key;
}

TEST(FireKeyEditor, CountByteFFIsContinuousFireAndOtherBytesAreTheCountEntry) {
  struct Case {
    std::uint8_t count_byte;
    bool continuous;
  };
  for (const Case& c :
       {Case{0x02, false}, Case{0x00, false}, Case{0xFE, false}, Case{0xFF, true}}) {
    auto fire_key = FireKeyOfImage1();
    fire_key[2] = c.count_byte;
    fire_key[8] = 0x21;
    FireKeyEditor editor;
    editor.ReadFrom(fire_key);
    EXPECT_EQ(editor.continuous(), c.continuous) << int{c.count_byte};
    EXPECT_EQ(editor.count_entry(), c.count_byte);
    EXPECT_EQ(editor.interval(), 0x21);

    std::array<std::uint8_t, 11> out;
    out.fill(0xEE);
    editor.WriteTo(out);
    EXPECT_THAT(
        out, ElementsAre(0xEE, 0xEE, c.count_byte, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x21, 0xEE, 0xEE));
  }
}

TEST(FireKeyEditor, SwitchingContinuousFireOffSelectsThreeShots) {
  FireKeyEditor editor;
  editor.SetContinuous(true);
  EXPECT_EQ(editor.count_entry(), 255);
  editor.SetContinuous(false);
  EXPECT_EQ(editor.count_entry(), 2);
  editor.SetContinuous(true);
  editor.SetCountEntry(9);
  EXPECT_FALSE(editor.continuous());
  EXPECT_EQ(editor.count_entry(), 9);
}

TEST(FireKeyEditor, TheLastCountEntryIsContinuousFire) {
  // Entry 255 stores 0xFF, which the mouse plays (and a later read shows) as continuous fire.
  FireKeyEditor editor;
  editor.SetCountEntry(255);
  EXPECT_TRUE(editor.continuous());
  auto fire_key = FireKeyOfImage1();
  editor.WriteTo(fire_key);
  EXPECT_EQ(fire_key[2], 0xFF);
}

TEST(FireKeyEditor, DriverApplyAlsoClearsTheChecksumByte) {
  FireKeyEditor editor;
  editor.SetContinuous(true);
  editor.SetInterval(0x40);
  auto fire_key = FireKeyOfImage1();
  editor.WriteDriverTo(fire_key);
  EXPECT_THAT(fire_key,
              ElementsAreArray({0x0A, 0xFD, 0xFF, 0xA1, 0xFE, 0x03, 0x21, 0xFE, 0x40, 0xFC, 0x00}));
}

}  // namespace
}  // namespace zelt
