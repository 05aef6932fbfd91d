#include "macros/driver_macro_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "emulator/virtual_filter_driver.h"
#include "macros/macro_name_field.h"

namespace zelt {
namespace {

using ::testing::ElementsAre;

constexpr std::uint16_t kDriverId = 0x1A2B;

// Driver memory holding `count` elements named "M0", "M1", ... with distinct content bytes.
std::vector<std::uint8_t> MemoryWithElements(std::size_t count) {
  std::vector<std::uint8_t> memory(kDriverMacroBase + count * kDriverMacroElementSize, 0x77);
  for (std::size_t b = 0; b < count; ++b) {
    auto element = memory.begin() +
                   static_cast<std::ptrdiff_t>(kDriverMacroBase + b * kDriverMacroElementSize);
    auto field = EncodeMacroName("M" + std::to_string(b));
    std::copy(field->begin(), field->end(), element);
    std::fill_n(element + 32, kDriverMacroElementSize - 32, static_cast<std::uint8_t>(b + 1));
  }
  return memory;
}

std::vector<std::string> Codes(std::vector<std::string> some) {
  some.resize(18, "010100");
  return some;
}

struct DriverRig {
  explicit DriverRig(std::vector<std::uint8_t> memory = {}) : driver(kDriverId, std::move(memory)) {
    handle = driver.Open(driver.Enumerate()->front());
  }
  VirtualFilterDriver driver;
  std::unique_ptr<DriverHandle> handle;
};

TEST(DriverMacroList, ReadsTheElementsUpToTheHighestOneACodeReachesInOneRequest) {
  DriverRig rig(MemoryWithElements(3));
  DriverMacroList list;
  // Element 1 (0x0920) is the highest reached; element 2 is not read.
  list.ReadFromDriver(*rig.handle, Codes({"0E0120", "060920", "060120"}));

  auto requests = rig.driver.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].code, kDriverReadRequest);
  EXPECT_EQ(requests[0].address, 0x100u);
  EXPECT_EQ(requests[0].length, 2u * 2048u);
  EXPECT_THAT(list.Names(), ElementsAre("M0", "M1"));
  const auto memory = rig.driver.memory();
  ASSERT_EQ(list.elements().size(), 2u);
  for (std::size_t b = 0; b < 2; ++b) {
    EXPECT_TRUE(std::equal(list.elements()[b].begin(), list.elements()[b].end(),
                           memory.begin() + static_cast<std::ptrdiff_t>(0x100 + 2048 * b)))
        << b;
  }
}

TEST(DriverMacroList, CountsElementsFromTheHighestMacroAddress) {
  struct Case {
    const char* code;
    std::size_t elements;
  };
  const Case cases[] = {
      {"060120", 1}, {"0E0920", 2}, {"06F920", 32},  // element 31, the last a code can name
      {"060100", 1},                                 // (0x100 + 2016) / 2048
      {"06081F", 1}, {"060820", 2}, {"06FFFF", 32},  // the largest address four digits hold
  };
  for (const Case& c : cases) {
    DriverRig rig;
    DriverMacroList list;
    list.ReadFromDriver(*rig.handle, Codes({c.code}));
    EXPECT_EQ(list.elements().size(), c.elements) << c.code;
    auto requests = rig.driver.requests();
    ASSERT_EQ(requests.size(), 1u) << c.code;
    EXPECT_EQ(requests[0].length, c.elements * 2048) << c.code;
  }
}

TEST(DriverMacroList, SendsNoRequestAndEndsEmptyWhenNoCodePlaysAnElement) {
  DriverRig rig(MemoryWithElements(2));
  DriverMacroList list;
  list.ReadFromDriver(*rig.handle, Codes({"060920"}));
  ASSERT_EQ(list.elements().size(), 2u);

  // The fire key's code points at the fire key section below the macro records.
  list.ReadFromDriver(*rig.handle, Codes({"0600F0", "0E00F0", "070000", "06012"}));
  EXPECT_TRUE(list.elements().empty()) << "a read replaces the list";
  EXPECT_EQ(rig.driver.requests().size(), 1u);
}

TEST(DriverMacroList, ElementsTheDriverDoesNotHoldReadAsZero) {
  DriverRig rig(MemoryWithElements(1));
  DriverMacroList list;
  list.ReadFromDriver(*rig.handle, Codes({"061120"}));
  ASSERT_EQ(list.elements().size(), 3u);
  EXPECT_THAT(list.Names(), ElementsAre("M0", "", ""));
  EXPECT_TRUE(std::all_of(list.elements()[2].begin(), list.elements()[2].end(),
                          [](std::uint8_t byte) { return byte == 0; }));
}

TEST(DriverMacroList, WritesAllElementsBackInOneRequest) {
  DriverRig rig(MemoryWithElements(2));
  DriverMacroList list;
  list.ReadFromDriver(*rig.handle, Codes({"060920"}));
  const auto original = rig.driver.memory();

  rig.driver.set_memory({});
  list.WriteToDriver(*rig.handle);
  auto requests = rig.driver.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].code, kDriverWriteRequest);
  EXPECT_EQ(requests[1].address, 0x100u);
  EXPECT_EQ(requests[1].length, 2u * 2048u);
  const auto written = rig.driver.memory();
  ASSERT_EQ(written.size(), original.size());
  EXPECT_TRUE(std::equal(written.begin() + 0x100, written.end(), original.begin() + 0x100));

  list.Clear();
  list.WriteToDriver(*rig.handle);
  ASSERT_EQ(rig.driver.requests().size(), 3u) << "an empty list still makes its request";
  EXPECT_EQ(rig.driver.requests()[2].length, 0u);
  EXPECT_EQ(rig.driver.memory(), written);
}

}  // namespace
}  // namespace zelt
