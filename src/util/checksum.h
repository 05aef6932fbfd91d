#pragma once
// The checksum used by the configuration sections and by every macro record: the sum of the
// covered bytes modulo 256, XOR 0x5A.

#include <cstdint>
#include <span>

namespace zelt {

inline std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>((sum & 0xFF) ^ 0x5A);
}

// 0xFF minus the value: the partner byte of a complement pair.
constexpr std::uint8_t Complement(std::uint8_t value) {
  return static_cast<std::uint8_t>(0xFF - value);
}

}  // namespace zelt
