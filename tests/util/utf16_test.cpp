#include "util/utf16.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zelt {
namespace {

TEST(Utf16ToUtf8, EncodesEveryLengthOfSequence) {
  EXPECT_EQ(Utf16ToUtf8(u"A\u00B0\u5B8F\U0001F3AE"), "A\u00B0\u5B8F\U0001F3AE");
}

TEST(Utf16ToUtf8, ReplacesUnpairedSurrogates) {
  const std::string r = "\uFFFD";
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD83C)}), "a" + r);  // high at the end
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDF2E), u'b'}), r + "b");  // lone low
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDF2E), char16_t(0xD83C)}), r + r);  // reversed
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83C), u'c'}), r + "c");  // high, no low
}

TEST(Utf16LeBytesToUtf8, ReadsLittleEndianAndDropsATrailingOddByte) {
  const std::vector<std::uint8_t> bytes = {0x41, 0x00, 0x8F, 0x5B, 0x3C, 0xD8, 0xAE, 0xDF, 0x42};
  EXPECT_EQ(Utf16LeBytesToUtf8(bytes), "A\u5B8F\U0001F3AE");
  EXPECT_EQ(Utf16LeBytesToUtf8(std::vector<std::uint8_t>{0x41}), "");
  // A high surrogate whose partner would lie in the odd byte is unpaired.
  EXPECT_EQ(Utf16LeBytesToUtf8(std::vector<std::uint8_t>{0x3C, 0xD8, 0xAE}), "\uFFFD");
}

TEST(Utf8ToUtf16, RoundTripsValidText) {
  const std::string text = "Key \u00B0 \u5B8F\u540D \U0001F3AE end";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToUtf16("\U0001F3AE"), (std::u16string{char16_t(0xD83C), char16_t(0xDFAE)}));
}

TEST(Utf8ToUtf16, ReplacesEachBadByteWithOneReplacementCharacter) {
  struct Case {
    std::string input;
    std::u16string expected;
  };
  const Case cases[] = {
      {"\x80x", u"\uFFFDx"},                    // stray continuation byte
      {"\xC0\x80", u"\uFFFD\uFFFD"},            // overlong form of U+0000
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
      {"\xE4\xB8", u"\uFFFD\uFFFD"},            // cut short at the end
      {"\xE4"
       "A",
       u"\uFFFDA"},                                       // cut short by an ASCII byte
      {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.input), c.expected) << c.input;
}

}  // namespace
}  // namespace zelt
