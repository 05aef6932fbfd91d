#include "device/driver_memory.h"

#include <algorithm>
#include <vector>

#include "device/filter_driver.h"

namespace zelt {
bool ServeDriverRequest(std::vector<std::uint8_t>& memory, std::uint32_t code,
                        std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                        bool* changed) {
  if (changed) *changed = false;
  const auto range = ReadDriverRequestHeader(input);
  if (!range) return false;
  const std::uint64_t address = range->address;
  const std::uint64_t length = range->length;
  if (address + length > kMaxDriverMemory) return false;
  if (code == kDriverReadRequest) {
    if (output.size() != kDriverHeaderSize + length) return false;
    // Input and output may be the same buffer: take the header before writing.
    std::vector<std::uint8_t> header(input.begin(), input.begin() + kDriverHeaderSize);
    std::copy(header.begin(), header.end(), output.begin());
    for (std::uint64_t i = 0; i < length; ++i) {
      const std::uint64_t at = address + i;
      output[kDriverHeaderSize + i] = at < memory.size() ? memory[at] : 0;
    }
    return true;
  }
  if (code == kDriverWriteRequest) {
    if (input.size() != kDriverHeaderSize + length) return false;
    if (memory.size() < address + length) memory.resize(address + length, 0);
    std::copy(input.begin() + kDriverHeaderSize, input.end(), memory.begin() + address);
    if (changed) *changed = true;
    return true;
  }
  return false;
}

}  // namespace zelt
