#include "app/editors.h"

#include "keys/function_code.h"

namespace zelt {
namespace {

constexpr std::string_view kFireKeyWhileHeldCode = "0E00F0";

}  // namespace

void Editors::ReadFrom(const WorkingCopies& copies) {
  buttons.ReadCodesFrom(copies.profile);
  buttons.ReadFrom(copies);
  dpi.ReadFrom(copies.section_a, copies.section_b);
  lighting.ReadFrom(copies.section_a, copies.section_b);
  engineer.ReadFrom(copies);
  fire_key.ReadFrom(copies.fire_key);
  fire_colours.ReadFrom(copies.fire_colours);
}

void Editors::ReadDriverFrom(WorkingCopies& copies, std::span<const std::uint8_t, 4> state_record,
                             LightingFamily kind) {
  buttons.ReadCodesFrom(copies.profile);
  for (int mode = 1; mode <= kKeyModeCount; ++mode) {
    for (int button = 1; button <= static_cast<int>(kButtonCount); ++button) {
      if (buttons.code(mode, button) == kFireKeyWhileHeldCode) {
        buttons.SetCode(mode, button, kFireKeyCode, copies.profile);
      }
    }
  }
  buttons.ReadFrom(copies);
  fire_key.ReadFrom(copies.fire_key);
  dpi.ReadDriverFrom(copies.section_a, state_record);
  lighting.SetKind(kind);
  lighting.ReadDriverFrom(copies.section_a, state_record);
  engineer.ReadFrom(copies);
  engineer.ReadDriverSmoothing(state_record);
}

void Editors::WriteTo(WorkingCopies& copies) const {
  buttons.WriteTo(copies);
  dpi.WriteTo(copies.section_a, copies.section_b);
  lighting.WriteTo(copies.section_a, copies.section_b);
  engineer.WriteTo(copies);
  fire_colours.WriteTo(copies.fire_colours);
  fire_key.WriteTo(copies.fire_key);
}

void Editors::WriteDriverTo(WorkingCopies& copies, std::span<std::uint8_t, 4> state_record) const {
  buttons.WriteDriverKeyMode(copies.section_b);
  dpi.WriteDriverTo(copies.section_a, copies.section_b, state_record, engineer.smoothing());
  fire_key.WriteDriverTo(copies.fire_key);
  lighting.WriteDriverTo(copies.section_a, state_record);
}

}  // namespace zelt
