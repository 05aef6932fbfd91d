#pragma once
// The indicator colours of the ten fire macros, as the engineer page's red, green and blue
// fields hold them.

#include <array>
#include <cstdint>
#include <span>

#include "config/config_image.h"

namespace zelt {

class FireColoursEditor {
 public:
  RgbColour colour(int gun) const { return colours_.at(gun); }  // guns 0..9
  void SetColour(int gun, RgbColour colour) { colours_.at(gun) = colour; }

  void ReadFrom(std::span<const std::uint8_t, 30> fire_colours);
  void WriteTo(std::span<std::uint8_t, 30> fire_colours) const;

 private:
  std::array<RgbColour, kFireMacroCount> colours_{};
};

}  // namespace zelt
