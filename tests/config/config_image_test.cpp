#include "config/config_image.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/builtin_images.h"
#include "util/checksum.h"

namespace zelt {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

template <std::size_t N>
std::array<std::uint8_t, N> Copy(const DataBuf& image, Region region) {
  std::array<std::uint8_t, N> copy{};
  auto bytes = RegionOf(image, region);
  std::copy(bytes.begin(), bytes.end(), copy.begin());
  return copy;
}

TEST(BuiltinImages, PassEveryCheckUnchanged) {
  for (int number : {1, 2, 3}) {
    const DataBuf& image = BuiltinImage(number);
    auto a = Copy<48>(image, regions::kSectionA);
    auto b = Copy<8>(image, regions::kSectionB);
    auto profile = Copy<55>(image, regions::kProfile);
    auto fire_key = Copy<11>(image, regions::kFireKey);
    EXPECT_FALSE(CheckParameterASection(a)) << number;
    EXPECT_FALSE(CheckParameterBSection(b)) << number;
    EXPECT_FALSE(CheckProfileSection(profile)) << number;
    EXPECT_FALSE(CheckFireKeySection(fire_key)) << number;
    EXPECT_TRUE(std::all_of(image.begin() + 0x100, image.end(), [](auto v) { return v == 0; }));
  }
  EXPECT_EQ(BuiltinImage(1)[0x2F], 0xF1);
  EXPECT_EQ(BuiltinImage(1)[0x76], 0xCA);
  EXPECT_EQ(BuiltinImage(1)[0xFA], 0x96);
  EXPECT_EQ(BuiltinImage(1)[0x36], 0xFF);
  EXPECT_EQ(BuiltinImage(1)[0x37], 0xFF);
}

TEST(BuiltinImages, TwoAndThreeDifferFromOneOnlyWhereTheyShould) {
  EXPECT_EQ(BuiltinImage(2), BuiltinImage(3));
  std::vector<std::size_t> differing;
  for (std::size_t i = 0; i < kImageSize; ++i) {
    if (BuiltinImage(1)[i] != BuiltinImage(2)[i]) differing.push_back(i);
  }
  // Bytes 0x4F..0x5A and 0x6A..0x75 change where the new code differs from image 1's.
  EXPECT_THAT(differing, ElementsAre(0x02, 0x24, 0x2F, 0x4F, 0x52, 0x55, 0x58, 0x5A, 0x6A, 0x6D,
                                     0x70, 0x73, 0x75, 0x76));
  EXPECT_THAT(std::vector(BuiltinImage(2).begin() + 0x4F, BuiltinImage(2).begin() + 0x5B),
              ElementsAre(0x05, 0, 0, 0x07, 0, 0, 0x08, 0, 0, 0x06, 0x00, 0xF0));
}

TEST(SectionChecks, AnAllFFImageIsRepairedEverywhere) {
  DataBuf image;
  image.fill(0xFF);
  auto a = Copy<48>(image, regions::kSectionA);
  EXPECT_EQ(Checksum(std::span(a).first(47)), 0x8B);
  EXPECT_TRUE(CheckParameterASection(a));
  EXPECT_THAT(std::vector(a.begin(), a.begin() + 0x1A),
              ElementsAre(0xFF, 0xFE, 0x04, 0x00, 0xFF, 0x00, 1, 2, 3, 4, 5, 6, 7, 1, 4, 3, 0, 2, 5,
                          6, 0xFF, 0, 0, 0, 0xFF, 0));
  EXPECT_EQ(a[0x2F], 0x79);

  auto b = Copy<8>(image, regions::kSectionB);
  EXPECT_TRUE(CheckParameterBSection(b));
  EXPECT_THAT(b, ElementsAre(0x01, 0xFE, 0x01, 0xFE, 0x00, 0xFF, 0xFF, 0xFF));

  auto profile = Copy<55>(image, regions::kProfile);
  EXPECT_TRUE(CheckProfileSection(profile));
  const std::vector<std::uint8_t> codes = {1, 1, 0, 1, 4,    0, 1, 2, 0, 1, 8, 0, 1, 0x10,
                                           0, 5, 0, 0, 0x0F, 0, 0, 2, 8, 7, 9, 0, 0};
  EXPECT_THAT(std::vector(profile.begin(), profile.begin() + 27), ElementsAreArray(codes));
  EXPECT_THAT(std::vector(profile.begin() + 27, profile.begin() + 54), ElementsAreArray(codes));
  EXPECT_TRUE(SectionChecksumValid(profile));

  auto fire_key = Copy<11>(image, regions::kFireKey);
  EXPECT_TRUE(CheckFireKeySection(fire_key));
  EXPECT_THAT(fire_key,
              ElementsAre(0x0A, 0xFD, 0x02, 0xA1, 0xFE, 0x03, 0x21, 0xFE, 0x64, 0xFC, 0x70));
}

TEST(SectionChecks, SectionBPairsAreJudgedEachOnItsOwn) {
  std::array<std::uint8_t, 8> b = {0x02, 0xFD, 0x42, 0x42, 0x80, 0x7F, 9, 9};
  EXPECT_TRUE(CheckParameterBSection(b));
  EXPECT_THAT(b, ElementsAre(0x02, 0xFD, 0x01, 0xFE, 0x80, 0x7F, 9, 9));
}

TEST(LightingFamily, ReadsInTheSpecifiedOrderAndWritesBackTheSameFamily) {
  struct Case {
    std::uint8_t b0, b1;
    LightingFamily family;
  };
  for (Case c :
       {Case{0x00, 0x18, LightingFamily::kFlowing}, Case{0x80, 0x10, LightingFamily::kBreathing},
        Case{0x80, 0x18, LightingFamily::kTwoColour},
        Case{0x80, 0x00, LightingFamily::kSynchronous}}) {
    EXPECT_EQ(ReadLightingFamily(c.b0, c.b1), c.family) << int(c.b0) << " " << int(c.b1);
  }
  for (auto family : {LightingFamily::kFlowing, LightingFamily::kTwoColour,
                      LightingFamily::kSynchronous, LightingFamily::kBreathing}) {
    for (int bits : {0x00, 0x18, 0xE7}) {
      const auto b1 = static_cast<std::uint8_t>(bits);
      std::uint8_t byte0 = 0x45, byte1 = b1;
      WriteLightingFamily(family, byte0, byte1);
      EXPECT_EQ(ReadLightingFamily(byte0, byte1), family);
      EXPECT_EQ(byte0 & 0x7F, 0x45) << "other bits of byte 0 are kept";
      EXPECT_EQ(byte1 & 0xE7, b1 & 0xE7) << "other bits of byte 1 are kept";
    }
  }
  // The flowing family leaves bit 4 as it was.
  std::uint8_t byte0 = 0x80, byte1 = 0x10;
  WriteLightingFamily(LightingFamily::kFlowing, byte0, byte1);
  EXPECT_EQ(byte1, 0x18);
}

TEST(BitFields, OrientationAndLedCountKeepTheirNeighbours) {
  EXPECT_EQ(OrientationCode(BuiltinImage(1)[0]), 4);
  std::uint8_t byte0 = 0x8F;
  SetOrientationCode(byte0, 6);
  EXPECT_EQ(byte0, 0xEF);
  EXPECT_EQ(OrientationCode(byte0), 6);

  EXPECT_EQ(LedCount(BuiltinImage(1)[3]), 10);
  std::uint8_t byte3 = 0x38;
  SetLedCount(byte3, 13);
  EXPECT_EQ(byte3, 0x08);
  SetLedCount(byte3, 4);
  EXPECT_EQ(byte3, 0x98);
}

}  // namespace
}  // namespace zelt
