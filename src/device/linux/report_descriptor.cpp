#include "device/linux/report_descriptor.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace zelt {
namespace {

// Item types and tags of the short item prefix byte: tag in bits 7..4, type in bits 3..2, data
// size code in bits 1..0.
constexpr std::uint8_t kTypeMain = 0;
constexpr std::uint8_t kTypeGlobal = 1;
constexpr std::uint8_t kLongItemPrefix = 0xFE;

constexpr std::uint8_t kMainInput = 0x8;
constexpr std::uint8_t kMainOutput = 0x9;
constexpr std::uint8_t kMainFeature = 0xB;

constexpr std::uint8_t kGlobalReportSize = 0x7;
constexpr std::uint8_t kGlobalReportId = 0x8;
constexpr std::uint8_t kGlobalReportCount = 0x9;
constexpr std::uint8_t kGlobalPush = 0xA;
constexpr std::uint8_t kGlobalPop = 0xB;

// Far deeper than any device nests Push items; the bound keeps hostile input from growing the
// stack without end.
constexpr std::size_t kMaxPushDepth = 32;

// The global items that decide report sizes; the others do not matter here.
struct GlobalState {
  std::uint8_t report_id = 0;
  std::uint32_t report_size = 0;
  std::uint32_t report_count = 0;
};

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return b > std::numeric_limits<std::uint64_t>::max() - a
             ? std::numeric_limits<std::uint64_t>::max()
             : a + b;
}

std::uint64_t MaxLength(const std::map<std::uint8_t, std::uint64_t>& bits) {
  if (bits.empty()) return 0;
  std::uint64_t longest = 0;
  for (const auto& [id, count] : bits) longest = std::max(longest, count / 8 + (count % 8 != 0));
  return SaturatingAdd(longest, 1);
}

}  // namespace

std::uint64_t ReportDescriptorLayout::MaxReportLength(ReportKind kind) const {
  switch (kind) {
    case ReportKind::kInput:
      return MaxLength(input_bits);
    case ReportKind::kOutput:
      return MaxLength(output_bits);
    case ReportKind::kFeature:
      return MaxLength(feature_bits);
  }
  return 0;
}

std::optional<ReportDescriptorLayout> ParseReportDescriptor(
    std::span<const std::uint8_t> descriptor) {
  ReportDescriptorLayout layout;
  GlobalState global;
  std::vector<GlobalState> pushed;
  std::size_t pos = 0;
  while (pos < descriptor.size()) {
    const std::uint8_t prefix = descriptor[pos];
    if (prefix == kLongItemPrefix) {
      // Long item: prefix, data size, long tag, then the data. No long tags are defined for
      // report layout, so the item is only stepped over.
      if (descriptor.size() - pos < 3) return std::nullopt;
      const std::size_t data_size = descriptor[pos + 1];
      if (descriptor.size() - pos - 3 < data_size) return std::nullopt;
      pos += 3 + data_size;
      continue;
    }
    const std::size_t size_code = prefix & 0x3;
    const std::size_t data_size = size_code == 3 ? 4 : size_code;
    if (descriptor.size() - pos - 1 < data_size) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < data_size; ++i) {
      value |= static_cast<std::uint32_t>(descriptor[pos + 1 + i]) << (8 * i);
    }
    pos += 1 + data_size;

    const std::uint8_t type = (prefix >> 2) & 0x3;
    const std::uint8_t tag = prefix >> 4;
    if (type == kTypeMain) {
      std::map<std::uint8_t, std::uint64_t>* bits = nullptr;
      if (tag == kMainInput) bits = &layout.input_bits;
      if (tag == kMainOutput) bits = &layout.output_bits;
      if (tag == kMainFeature) bits = &layout.feature_bits;
      if (bits) {
        // Both factors fit in 32 bits, so the product fits in 64.
        const std::uint64_t added =
            static_cast<std::uint64_t>(global.report_size) * global.report_count;
        std::uint64_t& total = (*bits)[global.report_id];
        total = SaturatingAdd(total, added);
      }
    } else if (type == kTypeGlobal) {
      switch (tag) {
        case kGlobalReportSize:
          global.report_size = value;
          break;
        case kGlobalReportCount:
          global.report_count = value;
          break;
        case kGlobalReportId:
          if (value == 0 || value > 0xFF) return std::nullopt;
          global.report_id = static_cast<std::uint8_t>(value);
          layout.uses_report_ids = true;
          break;
        case kGlobalPush:
          if (pushed.size() == kMaxPushDepth) return std::nullopt;
          pushed.push_back(global);
          break;
        case kGlobalPop:
          if (pushed.empty()) return std::nullopt;
          global = pushed.back();
          pushed.pop_back();
          break;
        default:
          break;
      }
    }
    // Local items (usages, designators, strings, delimiters) do not change report sizes.
  }
  return layout;
}

}  // namespace zelt
