#pragma once
// Shared pieces of the editor tests: the sections of built-in image 1, fills that show a write of
// a foreign bit, and captions reduced to what the AIM and fire key rules look at.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/builtin_images.h"
#include "config/config_image.h"

namespace zelt::test_support {

// Every byte starts as one of these, so a write that touches a foreign bit shows either way.
inline constexpr std::array<std::uint8_t, 2> kFills = {0x00, 0xFF};

// Bits a write changed, per byte, when every byte started as `fill`.
template <std::size_t N>
std::array<std::uint8_t, N> ChangedBits(const std::array<std::uint8_t, N>& after,
                                        std::uint8_t fill) {
  std::array<std::uint8_t, N> changed{};
  for (std::size_t i = 0; i < N; ++i) changed[i] = after[i] ^ fill;
  return changed;
}

// The working copies of an image's parameter regions, as adopting it makes them.
inline WorkingCopies CopiesOf(const DataBuf& image) {
  WorkingCopies copies;
  CopyParameterRegions(image, copies);
  return copies;
}

struct Sections {
  std::array<std::uint8_t, 48> a{};
  std::array<std::uint8_t, 8> b{};
};

inline Sections SectionsOfImage1() {
  const WorkingCopies copies = CopiesOf(BuiltinImage(1));
  return {copies.section_a, copies.section_b};
}

inline constexpr std::string_view kAim = "AIM";
inline constexpr std::string_view kFireKey = "Fire Key";

// Captions as the language gives them, reduced to what the AIM and fire key rules look at.
inline std::string FakeCaption(std::string_view code) {
  if (code.substr(0, 2) == "0A") return std::string(kAim);
  if (code == "0600F0" || code == "0E00F0") return std::string(kFireKey);
  if (code == "010100") return "Left Click";
  return "";
}

}  // namespace zelt::test_support
