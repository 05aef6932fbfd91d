#include "perf/engineer_editor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/builtin_images.h"
#include "support/editor_fixtures.h"

namespace zelt {
namespace {

using test_support::kFills;

using ::testing::ElementsAre;

TEST(SensorOrientation, EntriesAndCodesMapBothWays) {
  const std::uint8_t codes[kOrientationEntries] = {7, 2, 4, 1, 6, 5, 0, 3};
  for (int entry = 0; entry < kOrientationEntries; ++entry) {
    EXPECT_EQ(OrientationCodeOfEntry(entry), codes[entry]) << entry;
    EXPECT_EQ(OrientationEntryOfCode(codes[entry]), entry) << entry;
  }
  EXPECT_EQ(OrientationEntryOfCode(4), 2);  // "180°"
  EXPECT_EQ(OrientationEntryOfCode(8), 2);
  EXPECT_EQ(OrientationEntryOfCode(0xFF), 2);
}

TEST(EngineerEditor, ReadsEachFieldAndWritesItBackAsStored) {
  WorkingCopies copies;
  copies.section_a[0x00] = 0x45;  // orientation 4, trigger off
  copies.section_a[0x01] = 0xF8;  // smoothing on
  copies.section_b[6] = 0x12;
  copies.section_b[7] = 0x34;
  const std::uint8_t y[20] = {0xF6, 0x09, 0x80, 0x7F, 0x7F, 0x80, 0x00, 0xFF, 0x01, 0xFE,
                              0xFF, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF};
  std::copy(std::begin(y), std::end(y), copies.y_offsets.begin());

  EngineerEditor editor;
  editor.ReadFrom(copies);
  EXPECT_EQ(editor.vendor_code(), 0x12);
  EXPECT_EQ(editor.product_code(), 0x34);
  EXPECT_EQ(editor.orientation_entry(), 2);
  EXPECT_TRUE(editor.smoothing());
  EXPECT_FALSE(editor.fire_needs_fn());
  EXPECT_EQ(editor.y_offset(0), -10);
  EXPECT_EQ(editor.y_offset(1), -128);
  EXPECT_EQ(editor.y_offset(2), 127);
  EXPECT_EQ(editor.y_offset(5), -1);

  WorkingCopies out = copies;
  out.y_offsets.fill(0);
  editor.WriteTo(out);
  EXPECT_EQ(out.y_offsets, copies.y_offsets);
  EXPECT_EQ(out.section_a, copies.section_a);
  EXPECT_EQ(out.section_b, copies.section_b);
}

TEST(EngineerEditor, WritesOnlyItsOwnBits) {
  EngineerEditor editor;
  editor.SetVendorCode(0x2E);
  editor.SetProductCode(0x7A);
  editor.SetOrientationEntry(4);  // "X Reverse", code 6
  editor.SetOrientationEntry(8);  // ignored
  editor.SetSmoothing(false);
  editor.SetFireNeedsFn(true);
  editor.SetYOffset(0, 200);
  editor.SetYOffset(9, -200);
  for (std::uint8_t fill : kFills) {
    WorkingCopies copies;
    copies.section_a.fill(fill);
    copies.section_b.fill(fill);
    copies.y_offsets.fill(fill);
    editor.WriteTo(copies);
    std::array<std::uint8_t, 48> expected_a;
    expected_a.fill(fill);
    expected_a[0x00] = static_cast<std::uint8_t>((fill & 0x8D) | 0x60 | 0x02);
    expected_a[0x01] = static_cast<std::uint8_t>(fill & ~0x20);
    EXPECT_EQ(copies.section_a, expected_a);
    EXPECT_THAT(copies.section_b, ElementsAre(fill, fill, fill, fill, fill, fill, 0x2E, 0x7A));
    EXPECT_EQ(copies.y_offsets[0], 0x7F);
    EXPECT_EQ(copies.y_offsets[1], 0x80);
    EXPECT_EQ(copies.y_offsets[2], 0x00);
    EXPECT_EQ(copies.y_offsets[3], 0xFF);
    EXPECT_EQ(copies.y_offsets[18], 0x80);
    EXPECT_EQ(copies.y_offsets[19], 0x7F);
  }
}

TEST(EngineerEditor, DriverModeTakesSmoothingFromTheStateRecord) {
  EngineerEditor editor;
  editor.ReadDriverSmoothing(std::array<std::uint8_t, 4>{0x02, 0, 0, 0});
  EXPECT_FALSE(editor.smoothing());
  editor.ReadDriverSmoothing(std::array<std::uint8_t, 4>{0x82, 0, 0, 0});
  EXPECT_TRUE(editor.smoothing());
}

}  // namespace
}  // namespace zelt
