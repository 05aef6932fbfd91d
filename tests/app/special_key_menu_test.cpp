#include "app/special_key_menu.h"

#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"

namespace zelt {
namespace {

using E = SpecialKeyEntry;

TEST(SpecialKeyMenu, TheBuiltInListStacksSevenEntriesAndHidesGunKeyFn) {
  const SpecialKeyMenuLayout layout = LayOutSpecialKeyMenu(Settings{}.special_config);
  EXPECT_EQ(layout.Top(E::kCPIKey), 0);
  EXPECT_EQ(layout.Top(E::kFire), 25);
  EXPECT_EQ(layout.Top(E::kAIMKey), 50);
  EXPECT_EQ(layout.Top(E::kLEDMode), 75);
  EXPECT_EQ(layout.Top(E::kLEDSwitch), 100);
  EXPECT_EQ(layout.Top(E::kKeyMode), 125);
  EXPECT_EQ(layout.Top(E::kKeyOff), 150);
  EXPECT_EQ(layout.Top(E::kFnFire), std::nullopt);
  EXPECT_EQ(layout.panel_height, 177);
}

TEST(SpecialKeyMenu, PlacesNamesInTheirOrder) {
  const SpecialKeyMenuLayout layout = LayOutSpecialKeyMenu("Key_Fire,Key_CPIKey");
  EXPECT_EQ(layout.Top(E::kFire), 0);
  EXPECT_EQ(layout.Top(E::kCPIKey), 25);
  EXPECT_EQ(layout.panel_height, 52);
  for (E hidden : {E::kAIMKey, E::kLEDMode, E::kLEDSwitch, E::kKeyMode, E::kKeyOff, E::kFnFire}) {
    EXPECT_EQ(layout.Top(hidden), std::nullopt);
  }
}

TEST(SpecialKeyMenu, UnknownAndRepeatedNamesKeepTheirRows) {
  struct Case {
    const char* config;
    std::optional<int> fire;
    std::optional<int> key_off;
    int height;
  };
  const Case cases[] = {
      {"Key_Fire,Bogus,Key_KeyOff", 0, 50, 77},
      {"Key_Fire,Key_KeyOff,Key_Fire", 50, 25, 77},   // the later place counts
      {"key_fire,Key_KeyOff", std::nullopt, 25, 52},  // names are exact
      {" Key_Fire , Key_KeyOff ", 0, 25, 52},
      {"Key_Fire,,Key_KeyOff", 0, 50, 77},
      {"11111110", std::nullopt, std::nullopt, 27},  // the value when the setting is absent
      {"", std::nullopt, std::nullopt, 2},
  };
  for (const Case& c : cases) {
    const SpecialKeyMenuLayout layout = LayOutSpecialKeyMenu(c.config);
    EXPECT_EQ(layout.Top(E::kFire), c.fire) << c.config;
    EXPECT_EQ(layout.Top(E::kKeyOff), c.key_off) << c.config;
    EXPECT_EQ(layout.panel_height, c.height) << c.config;
  }
}

TEST(SpecialKeyMenu, StopsCountingAtTheRowLimit) {
  std::string config;
  for (int i = 0; i < 5000; ++i) config += "x,";
  config += "Key_Fire";
  const SpecialKeyMenuLayout layout = LayOutSpecialKeyMenu(config);
  EXPECT_EQ(layout.panel_height, kMaxSpecialKeyRows * kSpecialKeyRowHeight + 2);
  EXPECT_EQ(layout.Top(E::kFire), std::nullopt);
}

TEST(SpecialKeyMenu, EntryNamesRoundTrip) {
  for (int i = 0; i < kSpecialKeyEntryCount; ++i) {
    const auto entry = static_cast<E>(i);
    EXPECT_EQ(SpecialKeyEntryFromName(SpecialKeyEntryName(entry)), entry);
  }
  EXPECT_EQ(SpecialKeyEntryName(E::kFnFire), "Key_FnFire");
  EXPECT_EQ(SpecialKeyEntryFromName("Key_Nothing"), std::nullopt);
}

}  // namespace
}  // namespace zelt
