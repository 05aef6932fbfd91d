#include "app/settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zelt {
namespace {

IniDocument BuiltIn() { return IniDocument::FromText(BuiltInSettingsText()); }

Settings WithUserText(const std::string& text, std::vector<std::string>* notes = nullptr) {
  const IniDocument user = IniDocument::FromText(text);
  return ReadSettings(BuiltIn(), &user, "user.ini", notes);
}

TEST(BuiltInSettings, DefineEveryKeyWithTheValuesTheStructStartsWith) {
  const std::string_view text = BuiltInSettingsText();
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(ReadSettings(BuiltIn()), Settings{});
  for (const char* key : {"Web_Enable", "Web", "Web_X", "Web_Y", "Rev_Manu_ID", "Rev_Pro_ID",
                          "Path", "TR_Enable", "GD_Enable", "DPILED_Status", "Gun6_Num", "Gun7_Num",
                          "Num_Order", "Ap_Mode", "DPI_Count", "Special_Config"}) {
    EXPECT_TRUE(BuiltIn().Find("org", key).has_value()) << key;
  }
  // Read as a user file it is understood line by line.
  std::vector<std::string> notes;
  WithUserText(std::string(text), &notes);
  EXPECT_TRUE(notes.empty()) << notes.front();
}

TEST(Settings, NormaliseNumericValues) {
  struct Case {
    const char* line;
    int Settings::*field;
    int expected;
  };
  const Case cases[] = {
      {"Gun6_Num=0", &Settings::gun6_num, 1},     {"Gun6_Num=-3", &Settings::gun6_num, 1},
      {"Gun6_Num=1", &Settings::gun6_num, 1},     {"Gun6_Num=3", &Settings::gun6_num, 2},
      {"Gun7_Num=7", &Settings::gun7_num, 3},     {"Gun7_Num=0", &Settings::gun7_num, 1},
      {"Gun7_Num=2", &Settings::gun7_num, 2},     {"Num_Order=-4", &Settings::num_order, 0},
      {"Num_Order=1", &Settings::num_order, 1},   {"Num_Order=9", &Settings::num_order, 1},
      {"Web_X=-20", &Settings::web_x, -20},       {"Web_Y=0x10", &Settings::web_y, 16},
      {"Ap_Mode=5", &Settings::ap_mode, 5},       {"DPI_Count=12", &Settings::dpi_count, 12},
      {"DPI_Count=50", &Settings::dpi_count, 12}, {"DPI_Count=0", &Settings::dpi_count, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithUserText(std::string("[org]\n") + c.line).*(c.field), c.expected) << c.line;
  }
}

TEST(Settings, SwitchesAreOnOnlyForOne) {
  struct Case {
    const char* value;
    bool on;
  };
  for (const Case& c : {Case{"1", true}, Case{"0", false}, Case{"2", false}, Case{"-1", false}}) {
    const Settings s =
        WithUserText(std::string("[org]\nWeb_Enable=") + c.value + "\nTR_Enable=" + c.value +
                     "\nGD_Enable=" + c.value + "\nDPILED_Status=" + c.value);
    EXPECT_EQ(s.web_enable, c.on) << c.value;
    EXPECT_EQ(s.tr_enable, c.on) << c.value;
    EXPECT_EQ(s.gd_enable, c.on) << c.value;
    EXPECT_EQ(s.dpiled_status, c.on) << c.value;
  }
}

TEST(Settings, ClampsTheSecondDeviceCodesToAByte) {
  const Settings s = WithUserText("[org]\nRev_Manu_ID=300\nRev_Pro_ID=-1");
  EXPECT_EQ(s.rev_manu_id, 255);
  EXPECT_EQ(s.rev_pro_id, 0);
  EXPECT_EQ(WithUserText("[org]\nRev_Manu_ID=0x2E").rev_manu_id, 0x2E);
}

TEST(Settings, DriverModeClearsTheDeviceModeFlagAndTheGunDisplay) {
  struct Case {
    int ap_mode;
    bool device_mode;
    bool gd_enable;
  };
  for (const Case& c :
       {Case{0, true, true}, Case{1, false, false}, Case{2, true, true}, Case{3, true, true}}) {
    const Settings s = WithUserText("[org]\nGD_Enable=1\nAp_Mode=" + std::to_string(c.ap_mode));
    EXPECT_EQ(s.ap_mode, c.ap_mode);
    EXPECT_EQ(s.device_mode, c.device_mode) << c.ap_mode;
    EXPECT_EQ(s.gd_enable, c.gd_enable) << c.ap_mode;
  }
}

TEST(Settings, AbsentKeysReadAsEmptyTextOrTheCompiledValues) {
  const Settings s = ReadSettings(IniDocument::FromText("[org]\nGun7_Num=x\n"));
  EXPECT_EQ(s.special_config, kSpecialConfigWhenAbsent);
  EXPECT_EQ(s.web, "");
  EXPECT_EQ(s.path, "");
  EXPECT_EQ(s.gun7_num, 3);
  EXPECT_EQ(s.dpi_count, 11);
  EXPECT_EQ(s.web_x, 819);
  EXPECT_TRUE(s.web_enable);
  EXPECT_TRUE(s.dpiled_status);
}

TEST(Settings, UserKeysOverrideTheBuiltInOnesWithoutRegardToCase) {
  const Settings s = WithUserText(
      "[ORG]\n  ap_mode = 1 \nWEB= https://example.org/mouse \nPath=/home/u/macros\n"
      "Special_Config=Key_Fire\n");
  EXPECT_EQ(s.ap_mode, 1);
  EXPECT_FALSE(s.device_mode);
  EXPECT_EQ(s.web, "https://example.org/mouse");
  EXPECT_EQ(s.path, "/home/u/macros");
  EXPECT_EQ(s.special_config, "Key_Fire");
  EXPECT_EQ(s.gun7_num, 3);  // untouched keys keep the built-in values
}

TEST(Settings, UserLinesThatDefineNothingUsableAreNotedAndSkipped) {
  std::vector<std::string> notes;
  const Settings s = WithUserText(
      "; a comment\n// a note\nGun6_Num=1\n[org]\nthis line is not a setting\n"
      "Gun7_Num=two\nDPI_Count=12\nDPI_Count=11\nColour=red\n[elsewhere]\nAp_Mode=1\n",
      &notes);
  EXPECT_EQ(s.gun6_num, 2);    // defined before [org]
  EXPECT_EQ(s.gun7_num, 3);    // not a number: the built-in value stays
  EXPECT_EQ(s.dpi_count, 12);  // the first definition counts
  EXPECT_EQ(s.ap_mode, 0);     // outside [org]
  ASSERT_EQ(notes.size(), 6u);
  EXPECT_EQ(notes[0], "user.ini:3: Gun6_Num lies outside [org]; ignored");
  EXPECT_EQ(notes[1], "user.ini:5: \"this line is not a setting\" is not a setting line; ignored");
  EXPECT_EQ(notes[2], "user.ini:8: DPI_Count is defined again; the first definition counts");
  EXPECT_EQ(notes[3], "user.ini:9: unknown setting Colour; ignored");
  EXPECT_EQ(notes[4], "user.ini:11: Ap_Mode lies outside [org]; ignored");
  EXPECT_EQ(notes[5],
            "user.ini:6: Gun7_Num: \"two\" is not a whole number; the built-in value stays");
}

TEST(ParseSettingNumber, AcceptsSignedDecimalAndHexWithinInt) {
  struct Case {
    const char* text;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"12", 12},
      {" -4 ", -4},
      {"+3", 3},
      {"0x1F", 31},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"2147483648", {}},
      {"-2147483649", {}},
      {"", {}},
      {"-", {}},
      {"1.5", {}},
      {"12abc", {}},
      {"--1", {}},
      {"abc", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSettingNumber(c.text), c.expected) << c.text;
}

TEST(UserSettingsPath, PrefersAnAbsoluteXdgConfigHomeOverHome) {
  using std::filesystem::path;
  EXPECT_EQ(UserSettingsPath("/x/cfg", "/home/u"), path("/x/cfg/zelt507k/settings.ini"));
  EXPECT_EQ(UserSettingsPath("relative", "/home/u"), path("/home/u/.config/zelt507k/settings.ini"));
  EXPECT_EQ(UserSettingsPath("", "/home/u"), path("/home/u/.config/zelt507k/settings.ini"));
  EXPECT_EQ(UserSettingsPath(nullptr, "/home/u"), path("/home/u/.config/zelt507k/settings.ini"));
  EXPECT_EQ(UserSettingsPath(nullptr, ""), std::nullopt);
  EXPECT_EQ(UserSettingsPath("rel", nullptr), std::nullopt);
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("zelt_settings_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path Write(const std::string& bytes) {
    const auto file = dir_ / "settings.ini";
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  std::filesystem::path dir_;
};

TEST_F(SettingsFileTest, AMissingFileGivesTheBuiltInSettingsSilently) {
  std::vector<std::string> notes;
  EXPECT_EQ(LoadSettings(dir_ / "absent.ini", &notes), Settings{});
  EXPECT_EQ(LoadSettings(std::nullopt, &notes), Settings{});
  EXPECT_TRUE(notes.empty());
}

TEST_F(SettingsFileTest, AFileWithByteOrderMarkAndCrLfOverridesKeys) {
  std::vector<std::string> notes;
  const Settings s =
      LoadSettings(Write("\xEF\xBB\xBF[org]\r\nAp_Mode=1\r\nGD_Enable=1\r\nWeb_X=5\r\n"), &notes);
  EXPECT_EQ(s.ap_mode, 1);
  EXPECT_FALSE(s.device_mode);
  EXPECT_FALSE(s.gd_enable);
  EXPECT_EQ(s.web_x, 5);
  EXPECT_TRUE(notes.empty());
}

TEST_F(SettingsFileTest, AnUnreadableOrOversizedFileIsNotedAndLeftOut) {
  std::vector<std::string> notes;
  EXPECT_EQ(LoadSettings(dir_, &notes), Settings{});  // a folder, not a file
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("not read"), std::string::npos) << notes[0];

  notes.clear();
  const auto big = Write("[org]\nAp_Mode=1\n" + std::string(1024 * 1024, ';'));
  EXPECT_EQ(LoadSettings(big, &notes), Settings{});
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("larger than 1 MiB"), std::string::npos) << notes[0];
}

}  // namespace
}  // namespace zelt
