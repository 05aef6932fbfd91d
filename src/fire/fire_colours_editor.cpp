#include "fire/fire_colours_editor.h"

namespace zelt {

void FireColoursEditor::ReadFrom(std::span<const std::uint8_t, 30> fire_colours) {
  for (std::size_t gun = 0; gun < kFireMacroCount; ++gun) {
    const std::size_t at = 3 * gun;
    colours_[gun] = RgbColour{fire_colours[at], fire_colours[at + 1], fire_colours[at + 2]};
  }
}

void FireColoursEditor::WriteTo(std::span<std::uint8_t, 30> fire_colours) const {
  for (std::size_t gun = 0; gun < kFireMacroCount; ++gun) {
    const std::size_t at = 3 * gun;
    fire_colours[at] = colours_[gun].red;
    fire_colours[at + 1] = colours_[gun].green;
    fire_colours[at + 2] = colours_[gun].blue;
  }
}

}  // namespace zelt
