#include "app/engineer_page_texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace zelt {
namespace {

TEST(EngineerPageTexts, OnlyChinesePrcShowsTheChineseColumn) {
  EXPECT_EQ(EngineerTextColumnForLocale(2052), EngineerTextColumn::kChinese);
  for (std::uint32_t other : {0u, 1033u, 1028u, 3076u, 4100u}) {
    EXPECT_EQ(EngineerTextColumnForLocale(other), EngineerTextColumn::kEnglish) << other;
  }
}

TEST(EngineerPageTexts, EnglishColumnHoldsTheTextsByNumber) {
  struct Case {
    int number;
    const char* text;
  };
  const Case cases[] = {
      {0, "Office Mode"},
      {5, "Engineer Mode"},
      {31, "MCU LED Ligth Mode"},
      {34, "MCU LED CPI Color Setting"},
      {35, "Vendor ID:"},
      {36, "Product ID:"},
      {37, "MCU LED Setting"},
      {56, "OFF"},
      {57, "Switch Key Mode"},
      {65, "0\u00B0"},
      {71, "XY Swap XY Reverse"},
      {94, "Delect Gun"},
      {97, "Macro1 R:"},
      {126, "Macro10 B:"},
      {127, "Fire Macro Y Offset"},
      {137, "Macro10 Y Offset:"},
      {138, "Notes: "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EngineerText(c.number, EngineerTextColumn::kEnglish), c.text) << c.number;
  }
}

TEST(EngineerPageTexts, EveryEntryHasBothColumnsAndNumbersOutsideAreEmpty) {
  for (int i = 0; i < kEngineerTextCount; ++i) {
    EXPECT_FALSE(EngineerText(i, EngineerTextColumn::kEnglish).empty()) << i;
    EXPECT_FALSE(EngineerText(i, EngineerTextColumn::kChinese).empty()) << i;
  }
  EXPECT_EQ(EngineerText(0, EngineerTextColumn::kChinese), "\u529E\u516C\u6A21\u5F0F");
  EXPECT_EQ(EngineerText(-1, EngineerTextColumn::kEnglish), "");
  EXPECT_EQ(EngineerText(kEngineerTextCount, EngineerTextColumn::kChinese), "");
}

TEST(LocaleIdFromPosixName, IgnoresCodesetAndModifier) {
  struct Case {
    const char* name;
    std::uint32_t id;
  };
  const Case cases[] = {
      {"zh_CN.UTF-8", 2052},
      {"zh_CN", 2052},
      {"zh_CN.GB18030@stroke", 2052},
      {"zh", 2052},
      {"zh_TW.UTF-8", 1028},
      {"en_US.UTF-8", 1033},
      {"C", 0},
      {"POSIX", 0},
      {"C.UTF-8", 0},
      {"", 0},
      {"xx_YY", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(LocaleIdFromPosixName(c.name), c.id) << c.name;
}

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(LocaleIdFromEnvironment, TakesTheFirstSetOfLcAllLcMessagesAndLang) {
  {
    ScopedEnv all("LC_ALL", "zh_CN.UTF-8"), messages("LC_MESSAGES", "en_US"), lang("LANG", "C");
    EXPECT_EQ(LocaleIdFromEnvironment(), 2052u);
  }
  {
    ScopedEnv all("LC_ALL", ""), messages("LC_MESSAGES", nullptr), lang("LANG", "zh_CN.UTF-8");
    EXPECT_EQ(LocaleIdFromEnvironment(), 2052u);
  }
  {
    ScopedEnv all("LC_ALL", nullptr), messages("LC_MESSAGES", "en_US.UTF-8"),
        lang("LANG", "zh_CN.UTF-8");
    EXPECT_EQ(LocaleIdFromEnvironment(), 1033u);
  }
  {
    ScopedEnv all("LC_ALL", nullptr), messages("LC_MESSAGES", nullptr), lang("LANG", nullptr);
    EXPECT_EQ(LocaleIdFromEnvironment(), 0u);
  }
}

}  // namespace
}  // namespace zelt
