#include "keys/function_code.h"

#include <gtest/gtest.h>

namespace zelt {
namespace {

TEST(CodeTextToBytes, ReadsSixDigitsTwoAtATime) {
  EXPECT_EQ(CodeTextToBytes("010100"), (FunctionCodeBytes{0x01, 0x01, 0x00}));
  EXPECT_EQ(CodeTextToBytes("0600F0"), (FunctionCodeBytes{0x06, 0x00, 0xF0}));
  EXPECT_EQ(CodeTextToBytes("03022a"), (FunctionCodeBytes{0x03, 0x02, 0x2A}));
}

TEST(CodeTextToBytes, RefusesAnythingButSixHexDigits) {
  for (const char* bad : {"", "01010", "0101000", "01 100", "01 01 00", "0G0000", " 10100"}) {
    EXPECT_EQ(CodeTextToBytes(bad), std::nullopt) << '"' << bad << '"';
  }
}

TEST(CodeBytesToText, WritesTwoUpperCaseDigitsPerByteAndReadsBack) {
  EXPECT_EQ(CodeBytesToText(0x0A, 0x0B, 0x00), "0A0B00");
  const FunctionCodeBytes fire_key{0x06, 0x00, 0xF0};
  EXPECT_EQ(CodeBytesToText(fire_key), "0600F0");
  for (int value = 0; value <= 0xFF; ++value) {
    auto byte = static_cast<std::uint8_t>(value);
    std::string text = CodeBytesToText(byte, static_cast<std::uint8_t>(0xFF - value), byte);
    ASSERT_EQ(text.size(), 6u);
    EXPECT_EQ(CodeTextToBytes(text),
              (FunctionCodeBytes{byte, static_cast<std::uint8_t>(0xFF - value), byte}))
        << text;
  }
}

TEST(DriverMacroAddress, StepsBy2048From0x120) {
  EXPECT_EQ(DriverMacroAddress(0), 0x0120u);
  EXPECT_EQ(DriverMacroAddress(1), 0x0920u);
  EXPECT_EQ(DriverMacroAddress(31), 0xF920u);
  EXPECT_EQ(DriverMacroAddress(32), 0x10120u);  // no longer fits two address bytes
}

}  // namespace
}  // namespace zelt
