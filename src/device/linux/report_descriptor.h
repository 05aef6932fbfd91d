#pragma once
// Sizes of the reports a HID report descriptor declares, the way the HID stack computes them: the
// Input, Output and Feature main items add `report size x report count` bits to the report whose
// id is current, and each report is rounded up to whole bytes.

#include <cstdint>
#include <map>
#include <optional>
#include <span>

namespace zelt {

enum class ReportKind { kInput, kOutput, kFeature };

struct ReportDescriptorLayout {
  // True when the descriptor declares report ids; otherwise every report has id 0.
  bool uses_report_ids = false;
  // Bits of each report, keyed by report id. A report that no main item touched is absent.
  std::map<std::uint8_t, std::uint64_t> input_bits;
  std::map<std::uint8_t, std::uint64_t> output_bits;
  std::map<std::uint8_t, std::uint64_t> feature_bits;

  // Bytes of the largest report of this kind plus one for the report id byte, or 0 when the
  // descriptor has no such report. The id byte is counted even when the descriptor declares no
  // ids, because every transfer buffer still starts with the report number (0 in that case).
  std::uint64_t MaxReportLength(ReportKind kind) const;
};

// Walks the items of a report descriptor. Long items are skipped. Nothing when the descriptor is
// malformed: an item running past the end, report id 0, a Pop with nothing pushed, or pushes
// nested deeper than any real device needs. Never reads outside `descriptor`.
std::optional<ReportDescriptorLayout> ParseReportDescriptor(
    std::span<const std::uint8_t> descriptor);

}  // namespace zelt
