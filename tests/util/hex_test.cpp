#include "util/hex.h"

#include <gtest/gtest.h>

namespace zelt {
namespace {

TEST(ParseNumber, AcceptsDecimalAndPrefixedHexOnly) {
  EXPECT_EQ(ParseNumber("54"), 54u);
  EXPECT_EQ(ParseNumber("0x36"), 0x36u);
  EXPECT_EQ(ParseNumber("0X7ff"), 0x7FFu);
  for (const char* bad : {"", "0x", "36h", "-1", " 5", "5 ", "0x1g", "99999999999"}) {
    EXPECT_EQ(ParseNumber(bad), std::nullopt) << bad;
  }
}

TEST(ParseHexBytes, TakesPairsWithOrWithoutSpaces) {
  std::vector<std::uint8_t> expected{0xA1, 0xFE, 0x03};
  EXPECT_EQ(ParseHexBytes("a1fe03"), expected);
  EXPECT_EQ(ParseHexBytes("A1 FE  03"), expected);
  EXPECT_EQ(ParseHexBytes(""), std::vector<std::uint8_t>{});
  for (const char* bad : {"a", "a1f", "a 1", "zz", "a1-fe"}) {
    EXPECT_EQ(ParseHexBytes(bad), std::nullopt) << bad;
  }
}

TEST(FormatHexBytes, WritesLowerCasePairs) {
  std::vector<std::uint8_t> bytes{0x04, 0xCC, 0x0A};
  EXPECT_EQ(FormatHexBytes(bytes), "04 cc 0a");
  EXPECT_EQ(FormatHexBytes(bytes, ""), "04cc0a");
}

}  // namespace
}  // namespace zelt
