#pragma once
// Driver-only mode keeps macros in a list exchanged with the filter driver: 2048-byte elements
// (32 name bytes, then a 2016-byte record); element b lies at driver address 0x100 + 2048 b and a
// button plays it with a code whose address is b * 2048 + 0x120.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/filter_driver.h"

namespace zelt {

inline constexpr std::size_t kDriverMacroElementSize = 2048;
inline constexpr std::uint32_t kDriverMacroBase = 0x100;

using DriverMacroElement = std::array<std::uint8_t, kDriverMacroElementSize>;

class DriverMacroList {
 public:
  const std::vector<DriverMacroElement>& elements() const { return elements_; }
  // Decoded element names, in list order.
  std::vector<std::string> Names() const;
  void Clear() { elements_.clear(); }

  // Replaces the list with the elements the button codes reach: (highest macro address used +
  // 2016) / 2048 of them in one request; no request, and an empty list, when no code is a macro
  // code. An address below the macro records (the fire key's "0600F0") reaches no element.
  // `codes` are the eighteen codes.
  void ReadFromDriver(DriverHandle& driver, std::span<const std::string> codes);
  // Writes every element in one request; an empty list still makes its request, of length 0,
  // so the driver sees the same five writes on every apply.
  void WriteToDriver(DriverHandle& driver) const;

 private:
  std::vector<DriverMacroElement> elements_;
};

}  // namespace zelt
