#include "device/linux/report_descriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace zelt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using BitMap = std::map<std::uint8_t, std::uint64_t>;

// A five-button mouse with wheel (report 1) followed by a vendor collection with one 7-byte
// feature report 4, as gaming mice present themselves.
const Bytes kMouseWithVendorFeature = {
    0x05, 0x01,              // Usage Page (Generic Desktop)
    0x09, 0x02,              // Usage (Mouse)
    0xA1, 0x01,              // Collection (Application)
    0x85, 0x01,              //   Report ID (1)
    0x09, 0x01,              //   Usage (Pointer)
    0xA1, 0x00,              //   Collection (Physical)
    0x05, 0x09,              //     Usage Page (Button)
    0x19, 0x01, 0x29, 0x05,  //     Usage Minimum (1), Usage Maximum (5)
    0x15, 0x00, 0x25, 0x01,  //     Logical Minimum (0), Logical Maximum (1)
    0x95, 0x05, 0x75, 0x01,  //     Report Count (5), Report Size (1)
    0x81, 0x02,              //     Input (Data, Variable, Absolute)
    0x95, 0x01, 0x75, 0x03,  //     Report Count (1), Report Size (3)
    0x81, 0x01,              //     Input (Constant): padding
    0x05, 0x01,              //     Usage Page (Generic Desktop)
    0x09, 0x30, 0x09, 0x31,  //     Usage (X), Usage (Y)
    0x16, 0x01, 0x80,        //     Logical Minimum (-32767)
    0x26, 0xFF, 0x7F,        //     Logical Maximum (32767)
    0x75, 0x10, 0x95, 0x02,  //     Report Size (16), Report Count (2)
    0x81, 0x06,              //     Input (Data, Variable, Relative)
    0x09, 0x38,              //     Usage (Wheel)
    0x15, 0x81, 0x25, 0x7F,  //     Logical Minimum (-127), Logical Maximum (127)
    0x75, 0x08, 0x95, 0x01,  //     Report Size (8), Report Count (1)
    0x81, 0x06,              //     Input (Data, Variable, Relative)
    0xC0,                    //   End Collection
    0xC0,                    // End Collection
    0x06, 0x00, 0xFF,        // Usage Page (Vendor 0xFF00)
    0x09, 0x01,              // Usage (1)
    0xA1, 0x01,              // Collection (Application)
    0x85, 0x04,              //   Report ID (4)
    0x09, 0x02,              //   Usage (2)
    0x15, 0x00,              //   Logical Minimum (0)
    0x26, 0xFF, 0x00,        //   Logical Maximum (255)
    0x75, 0x08, 0x95, 0x07,  //   Report Size (8), Report Count (7)
    0xB1, 0x02,              //   Feature (Data, Variable, Absolute)
    0xC0,                    // End Collection
};

TEST(ParseReportDescriptor, SizesAMouseWithAVendorFeatureReport) {
  auto layout = ParseReportDescriptor(kMouseWithVendorFeature);
  ASSERT_TRUE(layout);
  EXPECT_TRUE(layout->uses_report_ids);
  EXPECT_EQ(layout->input_bits, (BitMap{{1, 48}}));
  EXPECT_EQ(layout->feature_bits, (BitMap{{4, 56}}));
  EXPECT_TRUE(layout->output_bits.empty());
  EXPECT_EQ(layout->MaxReportLength(ReportKind::kFeature), 8u);
  EXPECT_EQ(layout->MaxReportLength(ReportKind::kInput), 7u);
  EXPECT_EQ(layout->MaxReportLength(ReportKind::kOutput), 0u);
}

TEST(ParseReportDescriptor, TakesTheLargestOfSeveralReportsAndRoundsEachUp) {
  const Bytes descriptor = {
      0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,        // vendor application collection
      0x75, 0x08,                                      // Report Size (8)
      0x85, 0x02, 0x95, 0x03, 0xB1, 0x02,              // report 2: feature 3 bytes
      0x85, 0x05, 0x95, 0x3F, 0xB1, 0x02,              // report 5: feature 63 bytes
      0x85, 0x06, 0x95, 0x04, 0xB1, 0x02,              // report 6: feature 4 bytes ...
      0x75, 0x01, 0x95, 0x0C, 0xB1, 0x02,              //   ... and 12 more bits in the same report
      0x85, 0x02, 0x75, 0x08, 0x95, 0x02, 0x91, 0x02,  // report 2 again: a 2-byte output
      0x97, 0x01, 0x00, 0x00, 0x00,                    // Report Count (1), four data bytes
      0x81, 0x02,                                      // report 2: one input byte
      0xC0,
  };
  auto layout = ParseReportDescriptor(descriptor);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->feature_bits, (BitMap{{2, 24}, {5, 504}, {6, 44}}));
  EXPECT_EQ(layout->output_bits, (BitMap{{2, 16}}));
  EXPECT_EQ(layout->input_bits, (BitMap{{2, 8}}));
  EXPECT_EQ(layout->MaxReportLength(ReportKind::kFeature), 64u);
  EXPECT_EQ(layout->MaxReportLength(ReportKind::kOutput), 3u);
}

TEST(ParseReportDescriptor, CountsTheReportNumberByteEvenWithoutIds) {
  // Transfers on such a device still carry report number 0 in byte 0, so a 7-byte feature report
  // needs an 8-byte buffer.
  const Bytes descriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
                            0x75, 0x08, 0x95, 0x07, 0xB1, 0x02, 0xC0};
  auto layout = ParseReportDescriptor(descriptor);
  ASSERT_TRUE(layout);
  EXPECT_FALSE(layout->uses_report_ids);
  EXPECT_EQ(layout->feature_bits, (BitMap{{0, 56}}));
  EXPECT_EQ(layout->MaxReportLength(ReportKind::kFeature), 8u);
}

TEST(ParseReportDescriptor, StepsOverLongItemsWithoutReadingTheirData) {
  // The long item's data looks like Report ID (9) and a Feature item; taken as short items it
  // would add a report 9.
  const Bytes descriptor = {
      0x85, 0x04, 0x75, 0x08, 0x95, 0x07, 0xFE,
      0x04, 0xF0, 0x85, 0x09, 0xB1, 0x02,  // long item, 4 data bytes
      0xFE, 0x00, 0xF1,                    // long item without data
      0xB1, 0x02,
  };
  auto layout = ParseReportDescriptor(descriptor);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->feature_bits, (BitMap{{4, 56}}));
}

TEST(ParseReportDescriptor, PopRestoresTheReportIdSizeAndCountPushed) {
  const Bytes descriptor = {
      0x85, 0x04, 0x75, 0x08, 0x95, 0x01,  // report 4, 8 x 1
      0xA4,                                // Push
      0x85, 0x07, 0x75, 0x10, 0x95, 0x02,  // report 7, 16 x 2
      0xB1, 0x02,
      0xB4,        // Pop
      0xB1, 0x02,  // back in report 4, 8 x 1
  };
  auto layout = ParseReportDescriptor(descriptor);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->feature_bits, (BitMap{{4, 8}, {7, 32}}));
}

TEST(ParseReportDescriptor, RefusesMalformedDescriptors) {
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"two-byte item cut after one data byte", {0x05, 0x01, 0x26, 0xFF}},
      {"four-byte item cut short", {0x97, 0x01, 0x00, 0x00}},
      {"item prefix alone needing data", {0x85}},
      {"long item header cut short", {0x05, 0x01, 0xFE, 0x05}},
      {"long item data past the end", {0xFE, 0x05, 0x10, 0x01, 0x02}},
      {"report id 0", {0x85, 0x00}},
      {"report id beyond 255", {0x86, 0x00, 0x01}},
      {"pop with nothing pushed", {0x75, 0x08, 0xB4}},
  };
  for (const auto& [name, bytes] : cases) {
    EXPECT_EQ(ParseReportDescriptor(bytes), std::nullopt) << name;
  }
  Bytes deep(33, 0xA4);  // 33 nested pushes
  EXPECT_EQ(ParseReportDescriptor(deep), std::nullopt);
  deep.pop_back();
  EXPECT_TRUE(ParseReportDescriptor(deep));
}

TEST(ParseReportDescriptor, NeverReadsPastTheEndOfAnyPrefix) {
  // Every cut of a real descriptor, each in a buffer of exactly its own size so a memory checker
  // sees any read beyond it. Cuts on an item boundary parse; cuts inside an item are refused.
  const std::vector<std::size_t> inside_item = {1, 41, 42, 67, 68, 87};
  const std::vector<std::size_t> on_boundary = {0, 40, 43, 66, 69, 89};
  auto contains = [](const std::vector<std::size_t>& list, std::size_t size) {
    return std::find(list.begin(), list.end(), size) != list.end();
  };
  for (std::size_t size = 0; size <= kMouseWithVendorFeature.size(); ++size) {
    const Bytes cut(kMouseWithVendorFeature.begin(),
                    kMouseWithVendorFeature.begin() + static_cast<std::ptrdiff_t>(size));
    auto layout = ParseReportDescriptor(cut);
    if (contains(inside_item, size)) {
      EXPECT_EQ(layout, std::nullopt) << size;
    }
    if (contains(on_boundary, size)) {
      EXPECT_TRUE(layout) << size;
    }
  }
}

TEST(ParseReportDescriptor, SaturatesInsteadOfOverflowingOnHugeSizes) {
  const Bytes descriptor = {0x77, 0xFF, 0xFF, 0xFF, 0xFF,  // Report Size (2^32 - 1)
                            0x97, 0xFF, 0xFF, 0xFF, 0xFF,  // Report Count (2^32 - 1)
                            0xB1, 0x02, 0xB1, 0x02, 0xB1, 0x02, 0xB1, 0x02, 0xB1, 0x02};
  auto layout = ParseReportDescriptor(descriptor);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->feature_bits.at(0), std::numeric_limits<std::uint64_t>::max());
  EXPECT_GT(layout->MaxReportLength(ReportKind::kFeature), std::uint64_t{1} << 60);
}

}  // namespace
}  // namespace zelt
