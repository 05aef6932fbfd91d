#pragma once
// The one-byte checksum shared by the configuration sections and every macro record.

#include <cstdint>
#include <span>

namespace zelt {

// The sum of `bytes` modulo 256, XOR 0x5A.
inline std::uint8_t Checksum(std::span<const std::uint8_t> bytes) {
  std::uint8_t sum = 0;
  for (std::uint8_t byte : bytes) sum = static_cast<std::uint8_t>(sum + byte);
  return static_cast<std::uint8_t>(sum ^ 0x5A);
}

}  // namespace zelt
