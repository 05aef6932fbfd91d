#include "perf/lighting_editor.h"

#include "util/checksum.h"

namespace zelt {
namespace {

// Section A byte 0x00.
constexpr std::uint8_t kMidDpiSwitchBit = 0x01;
constexpr std::uint8_t kLeftDpiSwitchBit = 0x04;
// Section A byte 0x03: brightness; the LED count lives in bits 4..7.
constexpr std::uint8_t kFullBrightnessBit = 0x08;
constexpr int kMaxStoredLedCount = 9;  // 13 - 4; higher values name no count
// Section A byte 0x04: bit 0 marks the mask as written, bits 1..7 offer modes 1..7.
constexpr std::uint8_t kModeMaskMarker = 0x01;

// Lighting state byte (image byte 0x32).
constexpr std::uint8_t kModeField = 0x07;
constexpr std::uint8_t kLedOffBit = 0x08;
constexpr int kStepShift = 5;

// Section B offsets of the state byte and its complement.
constexpr std::size_t kStateOffset = 2;
constexpr std::size_t kStateComplementOffset = 3;

void SetBit(std::uint8_t& byte, std::uint8_t bit, bool on) {
  byte = static_cast<std::uint8_t>(on ? (byte | bit) : (byte & ~bit));
}

// The mode number a combo selection stores: index + 1, or 0 when nothing is selected.
std::uint8_t ModeNumber(int combo_index) {
  return combo_index >= 0 ? static_cast<std::uint8_t>(combo_index + 1) : 0;
}

}  // namespace

void LightingEditor::SetLedCount(int count) {
  if (count < 4 || count > 13) return;
  led_count_ = count;
}

void LightingEditor::SetModeOffered(int mode, bool offered) {
  offered_.at(mode) = offered;
  flowing_mode_ = 0;
}

void LightingEditor::SetFlowingMode(int mode) {
  if (mode >= 0 && mode < kLightingModeCount) flowing_mode_ = mode;
}

void LightingEditor::SetTwoColourMode(int mode) {
  if (mode >= 0 && mode < kLightingModeCount) two_colour_mode_ = mode;
}

void LightingEditor::SetStep(int step) {
  if (step >= 0 && step <= 7) step_ = step;
}

std::uint8_t LightingEditor::StateByte() const {
  std::uint8_t state = 0;
  switch (kind_) {
    case LightingFamily::kFlowing:
      state = static_cast<std::uint8_t>(ModeNumber(flowing_mode_) | (step_ << kStepShift));
      break;
    case LightingFamily::kTwoColour:
      state = ModeNumber(two_colour_mode_);
      break;
    case LightingFamily::kSynchronous:
    case LightingFamily::kBreathing:
      break;
  }
  if (!led_on_) state |= kLedOffBit;
  return state;
}

void LightingEditor::ReadStateByte(std::uint8_t state) {
  const int mode = state & kModeField;
  if (kind_ == LightingFamily::kFlowing) {
    if (mode != 0) flowing_mode_ = mode - 1;
    step_ = state >> kStepShift;
  } else if (kind_ == LightingFamily::kTwoColour) {
    if (mode != 0) two_colour_mode_ = mode - 1;
  }
  led_on_ = (state & kLedOffBit) == 0;
}

void LightingEditor::ReadSectionA(std::span<const std::uint8_t, 48> section_a) {
  mid_dpi_switch_ = (section_a[0x00] & kMidDpiSwitchBit) != 0;
  left_dpi_switch_ = (section_a[0x00] & kLeftDpiSwitchBit) != 0;
  full_brightness_ = (section_a[0x03] & kFullBrightnessBit) != 0;
  if ((section_a[0x03] >> 4) <= kMaxStoredLedCount) led_count_ = LedCount(section_a[0x03]);
  for (int mode = 0; mode < kLightingModeCount; ++mode) {
    offered_[mode] = (section_a[0x04] & (0x02 << mode)) != 0;
  }
  // Offering modes rebuilds the mode list, which selects its first entry.
  flowing_mode_ = 0;
}

void LightingEditor::ReadFrom(std::span<const std::uint8_t, 48> section_a,
                              std::span<const std::uint8_t, 8> section_b) {
  kind_ = ReadLightingFamily(section_a[0x00], section_a[0x01]);
  ReadSectionA(section_a);
  ReadStateByte(section_b[kStateOffset]);
}

void LightingEditor::ReadDriverFrom(std::span<const std::uint8_t, 48> section_a,
                                    std::span<const std::uint8_t, 4> state_record) {
  ReadSectionA(section_a);
  ReadStateByte(state_record[1]);
}

void LightingEditor::WriteSwitches(std::span<std::uint8_t, 48> section_a) const {
  SetBit(section_a[0x00], kMidDpiSwitchBit, mid_dpi_switch_);
  SetBit(section_a[0x00], kLeftDpiSwitchBit, left_dpi_switch_);
}

void LightingEditor::WriteTo(std::span<std::uint8_t, 48> section_a,
                             std::span<std::uint8_t, 8> section_b) const {
  WriteSwitches(section_a);
  WriteLightingFamily(kind_, section_a[0x00], section_a[0x01]);
  SetBit(section_a[0x03], kFullBrightnessBit, full_brightness_);
  zelt::SetLedCount(section_a[0x03], led_count_);  // the image helper, not the setter
  if (kind_ == LightingFamily::kFlowing) {
    std::uint8_t mask = kModeMaskMarker;
    for (int mode = 0; mode < kLightingModeCount; ++mode) {
      if (offered_[mode]) mask = static_cast<std::uint8_t>(mask | (0x02 << mode));
    }
    section_a[0x04] = mask;
  }
  const std::uint8_t state = StateByte();
  section_b[kStateOffset] = state;
  section_b[kStateComplementOffset] = Complement(state);
}

void LightingEditor::WriteDriverTo(std::span<std::uint8_t, 48> section_a,
                                   std::span<std::uint8_t, 4> state_record) const {
  WriteSwitches(section_a);
  state_record[1] = StateByte();
}

}  // namespace zelt
