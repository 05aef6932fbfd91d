#pragma once
// The driver side of the two filter-driver requests, over a block of memory the caller keeps. The
// Linux stand-in for the filter driver and the virtual filter driver both serve requests with it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zelt {

// Driver memory never grows beyond this; a request reaching past it is refused.
inline constexpr std::size_t kMaxDriverMemory = 1 << 20;

// Read request: `output` (8 + length bytes) gets the header back and `length` bytes from
// `address`, zeros past the stored bytes. Write request: `input` is the header and exactly
// `length` bytes, stored at `address`, growing the memory with zeros as needed; `*changed` is set.
// False for an unknown code, a header whose length does not match the buffer, or a range past
// kMaxDriverMemory; nothing is touched then.
bool ServeDriverRequest(std::vector<std::uint8_t>& memory, std::uint32_t code,
                        std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                        bool* changed = nullptr);

}  // namespace zelt
