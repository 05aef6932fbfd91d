// Showing an image in every editor and building it back from them, the way reading and applying
// do: what the editors write must reproduce the image byte for byte, and touch nothing else.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/editors.h"
#include "config/builtin_images.h"
#include "support/editor_fixtures.h"

namespace zelt {
namespace {

using test_support::CopiesOf;
using test_support::FakeCaption;
using test_support::kAim;
using test_support::kFills;
using test_support::kFireKey;

using ::testing::ElementsAre;

// Shown as a read shows an image, then built as an apply in device-memory mode builds it, before
// the checksums.
void Show(Editors& editors, const WorkingCopies& copies) {
  editors.ReadFrom(copies);
  editors.buttons.RefreshAimKey(FakeCaption, kAim);
}

void Build(Editors& editors, WorkingCopies& copies) {
  editors.WriteTo(copies);
  editors.buttons.AIMKeyToDataBuf(copies.profile, FakeCaption, kAim, kFireKey,
                                  /*driver_only=*/false, editors.fire_key.continuous());
}

struct TrickyImage {
  std::string name;
  std::function<void(DataBuf&)> patch;
};

void SetPair(DataBuf& image, std::size_t offset, std::uint8_t value) {
  image[offset] = value;
  image[offset + 1] = static_cast<std::uint8_t>(0xFF - value);
}

std::vector<TrickyImage> TrickyImages() {
  std::vector<TrickyImage> images = {
      {"image 1", [](DataBuf&) {}},
      {"image 2", [](DataBuf& image) { image = BuiltinImage(2); }},
      {"two-colour lighting, mode 3, LED off, stray mode mask",
       [](DataBuf& image) {
         image[0x00] |= 0x80;
         image[0x04] = 0x34;
         SetPair(image, 0x32, 0x0B);
       }},
      {"two-colour lighting with family bit 4 clear",
       [](DataBuf& image) {
         image[0x00] |= 0x80;
         image[0x01] = 0xE8;
         SetPair(image, 0x32, 0x07);
       }},
      {"breathing lighting, LED off",
       [](DataBuf& image) {
         image[0x00] |= 0x80;
         image[0x01] = 0xD0;
         image[0x04] = 0x00;
         SetPair(image, 0x32, 0x08);
       }},
      {"synchronous lighting",
       [](DataBuf& image) {
         image[0x00] |= 0x80;
         image[0x01] = 0xC0;
         SetPair(image, 0x32, 0x00);
       }},
      {"flowing lighting: half brightness, 4 LEDs, some modes, mode 7 step 7",
       [](DataBuf& image) {
         image[0x01] = 0x28;  // family bit 4 clear, unused bits 6, 7 clear
         image[0x03] = 0x95;  // 4 LEDs, half, unused bits 0..2 = 5
         image[0x04] = 0x55;
         image[0x05] = 0xA5;
         SetPair(image, 0x32, 0xE7);
       }},
      {"Y offsets at the edges",
       [](DataBuf& image) {
         SetPair(image, 0xB0, 0xF6);
         SetPair(image, 0xB2, 0x80);
         SetPair(image, 0xB4, 0x7F);
         SetPair(image, 0xC2, 0xFF);
       }},
      {"continuous fire key, slow interval",
       [](DataBuf& image) {
         image[0xF2] = 0xFF;
         image[0xF8] = 0xFF;
       }},
      {"three DPI levels, level 1 current, a value never chosen, one past the list",
       [](DataBuf& image) {
         image[0x02] = 3;
         image[0x08] = 0xFF;
         image[0x0B] = 0x0E;
         SetPair(image, 0x30, 0x00);
       }},
      {"key mode 2 not kept, switch methods, smoothing off, fire with Fn",
       [](DataBuf& image) {
         SetPair(image, 0x34, 0x80);
         image[0x00] |= 0x0A;
         image[0x01] = static_cast<std::uint8_t>((image[0x01] & ~0x27) | 0x05);
       }},
      {"AIM buttons in both key modes and a fire key",
       [](DataBuf& image) {
         for (std::size_t at : {0x40 + 3 * 5, 0x5B + 3 * 6}) {
           image[at] = 0x0A;
           image[at + 1] = 0x03;
           image[at + 2] = 0x00;
         }
         image[0x40 + 3 * 8] = 0x06;
         image[0x40 + 3 * 8 + 1] = 0x00;
         image[0x40 + 3 * 8 + 2] = 0xF0;
       }},
      {"vendor and product codes", [](DataBuf& image) {
         image[0x36] = 0x2E;
         image[0x37] = 0x7A;
       }}};
  for (std::uint8_t code = 0; code < 8; ++code) {
    images.push_back({"orientation code " + std::to_string(code),
                      [code](DataBuf& image) { SetOrientationCode(image[0x00], code); }});
  }
  return images;
}

TEST(EditorsRoundTrip, ShowingAnImageAndBuildingItBackChangesNoByte) {
  for (const TrickyImage& tricky : TrickyImages()) {
    SCOPED_TRACE(tricky.name);
    DataBuf image = BuiltinImage(1);
    tricky.patch(image);
    WorkingCopies copies = CopiesOf(image);
    WriteSectionChecksum(copies.section_a);
    WriteSectionChecksum(copies.profile);
    WriteSectionChecksum(copies.fire_key);
    ASSERT_FALSE(CheckParameterBSection(copies.section_b));

    Editors editors;
    Show(editors, copies);
    WorkingCopies built = copies;
    Build(editors, built);
    EXPECT_EQ(built.section_a, copies.section_a);
    EXPECT_EQ(built.section_b, copies.section_b);
    EXPECT_EQ(built.profile, copies.profile);
    EXPECT_EQ(built.fire_codes, copies.fire_codes);
    EXPECT_EQ(built.y_offsets, copies.y_offsets);
    EXPECT_EQ(built.fire_colours, copies.fire_colours);
    EXPECT_EQ(built.fire_key, copies.fire_key);
  }
}

TEST(EditorsRoundTrip, BuildingWritesNoBitOutsideTheEditedFields) {
  // Bits the editors own, per byte of section A; section B, the Y offsets and the fire colours
  // are owned whole, the fire key only at 0xF2 and 0xF8.
  std::array<std::uint8_t, 48> owned_a{};
  owned_a[0x00] = 0xFF;
  owned_a[0x01] = 0x2F;  // family bit 4 is left alone for the flowing kind
  owned_a[0x02] = 0xFF;
  owned_a[0x03] = 0xF8;
  owned_a[0x04] = 0xFF;  // written because image 1 shows the flowing kind
  for (std::size_t i = 0x06; i <= 0x0C; ++i) owned_a[i] = 0xFF;
  for (std::size_t i = 0x1A; i <= 0x2E; ++i) owned_a[i] = 0xFF;

  Editors editors;
  Show(editors, CopiesOf(BuiltinImage(1)));
  for (std::uint8_t fill : kFills) {
    SCOPED_TRACE(int{fill});
    WorkingCopies built;
    for (std::span<std::uint8_t> region :
         {std::span<std::uint8_t>(built.section_a), std::span<std::uint8_t>(built.section_b),
          std::span<std::uint8_t>(built.profile), std::span<std::uint8_t>(built.fire_codes),
          std::span<std::uint8_t>(built.y_offsets), std::span<std::uint8_t>(built.fire_colours),
          std::span<std::uint8_t>(built.fire_key)}) {
      std::fill(region.begin(), region.end(), fill);
    }
    Build(editors, built);
    for (std::size_t i = 0; i < 48; ++i) {
      EXPECT_EQ((built.section_a[i] ^ fill) & ~owned_a[i], 0) << "section A byte " << i;
    }
    EXPECT_TRUE(std::all_of(built.profile.begin(), built.profile.end(),
                            [fill](std::uint8_t b) { return b == fill; }));
    EXPECT_TRUE(std::all_of(built.fire_codes.begin(), built.fire_codes.end(),
                            [fill](std::uint8_t b) { return b == fill; }));
    for (std::size_t i = 0; i < 11; ++i) {
      if (i != 2 && i != 8) {
        EXPECT_EQ(built.fire_key[i], fill) << "fire key byte " << i;
      }
    }
    // The owned bytes hold image 1's values whatever was there before.
    const WorkingCopies image1 = CopiesOf(BuiltinImage(1));
    EXPECT_EQ(built.section_b, image1.section_b);
    EXPECT_EQ(built.y_offsets, image1.y_offsets);
    EXPECT_EQ(built.fire_colours, image1.fire_colours);
    for (std::size_t i = 0; i < 47; ++i) {
      EXPECT_EQ(built.section_a[i] & owned_a[i], image1.section_a[i] & owned_a[i]) << i;
    }
  }
}

TEST(EditorsRoundTrip, DriverOnlyApplyOfAShownDriverConfiguration) {
  WorkingCopies copies = CopiesOf(BuiltinImage(1));
  // Level 3 current with smoothing on, flowing mode 2 step 2; byte 2 is the driver's own.
  const std::array<std::uint8_t, 4> record_in{0x82, 0x42, 0x5C, 0x06};

  Editors editors;
  editors.ReadDriverFrom(copies, record_in, LightingFamily::kFlowing);  // the kind as reported

  WorkingCopies built = copies;
  std::array<std::uint8_t, 4> record = record_in;
  editors.WriteDriverTo(built, record);

  EXPECT_EQ(record, record_in);
  EXPECT_EQ(built.section_a, copies.section_a);
  EXPECT_THAT(built.section_b, ElementsAre(0x82, 0x7D, 0x42, 0xBD, 0x00, 0xFF, 0xFF, 0xFF));
  std::array<std::uint8_t, 11> fire_key = copies.fire_key;
  fire_key[10] = 0x00;
  EXPECT_EQ(built.fire_key, fire_key);
}

}  // namespace
}  // namespace zelt
