// Report descriptors come from whatever device is plugged in: parsing must never read past the
// bytes or overflow its counters.

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/linux/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto layout = zelt::ParseReportDescriptor(std::span(data, size));
  if (layout) {
    (void)layout->MaxReportLength(zelt::ReportKind::kFeature);
    (void)layout->MaxReportLength(zelt::ReportKind::kInput);
    (void)layout->MaxReportLength(zelt::ReportKind::kOutput);
  }
  return 0;
}
