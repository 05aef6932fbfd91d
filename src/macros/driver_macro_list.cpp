#include "macros/driver_macro_list.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "device/driver_memory.h"
#include "keys/function_code.h"
#include "macros/macro_name_field.h"
#include "macros/macro_record.h"

namespace zelt {
namespace {

// The highest code address is 0xFFFF; the elements it reaches must fit the driver's memory.
constexpr std::size_t kMaxReadElements = (0xFFFF + kDriverMacroRecordSize) / kDriverMacroElementSize;
static_assert(kDriverMacroBase + kMaxReadElements * kDriverMacroElementSize <= kMaxDriverMemory);

// The address of a code that plays an element of the list: "06" or "0E" + four digits naming a
// place in the macro records (from 0x100 on). The fire key's "0600F0" points below them, at the
// fire key section, and reaches no element.
std::optional<std::uint32_t> ElementAddressOfCode(std::string_view code) {
  auto bytes = CodeTextToBytes(code);
  if (!bytes) return std::nullopt;
  if ((*bytes)[0] != kCodeTypeMacroToEnd && (*bytes)[0] != kCodeTypeMacroWhileHeld) {
    return std::nullopt;
  }
  const std::uint32_t address = static_cast<std::uint32_t>((*bytes)[1] << 8 | (*bytes)[2]);
  if (address < kDriverMacroBase) return std::nullopt;
  return address;
}

}  // namespace

std::vector<std::string> DriverMacroList::Names() const {
  std::vector<std::string> names;
  names.reserve(elements_.size());
  for (const DriverMacroElement& element : elements_) {
    names.push_back(DecodeMacroName(std::span(element).first(kMacroNameFieldSize)));
  }
  return names;
}

void DriverMacroList::ReadFromDriver(DriverHandle& driver, std::span<const std::string> codes) {
  elements_.clear();
  std::optional<std::uint32_t> highest;
  for (const std::string& code : codes) {
    if (auto address = ElementAddressOfCode(code)) {
      highest = std::max(highest.value_or(0), *address);
    }
  }
  if (!highest) return;
  // Element b is played through address b * 2048 + 0x120, so this counts every element up to
  // the highest one a code reaches.
  const std::size_t count = (*highest + kDriverMacroRecordSize) / kDriverMacroElementSize;
  std::vector<std::uint8_t> bytes(count * kDriverMacroElementSize);
  DriverRead(driver, kDriverMacroBase, bytes);
  elements_.resize(count);
  for (std::size_t b = 0; b < count; ++b) {
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(b * kDriverMacroElementSize),
                kDriverMacroElementSize, elements_[b].begin());
  }
}

void DriverMacroList::WriteToDriver(DriverHandle& driver) const {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(elements_.size() * kDriverMacroElementSize);
  for (const DriverMacroElement& element : elements_) {
    bytes.insert(bytes.end(), element.begin(), element.end());
  }
  DriverWrite(driver, kDriverMacroBase, bytes);
}

}  // namespace zelt
