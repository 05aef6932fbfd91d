#pragma once
// The lighting editor's state: LED kind, on/off, the two button combinations that switch
// lighting, and per kind the current mode, number of LEDs, brightness, step and offered modes.

#include <array>
#include <cstdint>
#include <span>

#include "config/config_image.h"

namespace zelt {

inline constexpr int kLightingModeCount = 7;

class LightingEditor {
 public:
  LightingFamily kind() const { return kind_; }
  bool led_on() const { return led_on_; }
  bool mid_dpi_switch() const { return mid_dpi_switch_; }          // section A 0x00 bit 0
  bool left_dpi_switch() const { return left_dpi_switch_; }        // section A 0x00 bit 2
  bool full_brightness() const { return full_brightness_; }        // 0x03 bit 3
  int led_count() const { return led_count_; }                     // 4..13
  bool mode_offered(int mode) const { return offered_.at(mode); }  // flowing modes 0..6
  // Combo indexes 0..6. Reading never clears a selection, so one is always selected; a -1
  // (none) would be stored as mode number 0.
  int flowing_mode() const { return flowing_mode_; }
  int two_colour_mode() const { return two_colour_mode_; }
  int step() const { return step_; }  // flowing step 0..7

  void SetKind(LightingFamily kind) { kind_ = kind; }
  void SetLedOn(bool on) { led_on_ = on; }
  void SetMidDpiSwitch(bool on) { mid_dpi_switch_ = on; }
  void SetLeftDpiSwitch(bool on) { left_dpi_switch_ = on; }
  void SetFullBrightness(bool full) { full_brightness_ = full; }
  void SetLedCount(int count);  // 4..13; others ignored
  // Changing the offered modes re-selects the first flowing mode, offered or not.
  void SetModeOffered(int mode, bool offered);
  void SetFlowingMode(int mode);    // 0..6
  void SetTwoColourMode(int mode);  // 0..6
  void SetStep(int step);           // 0..7

  // The lighting state byte (layout of image byte 0x32) built from 0: the kind's mode number
  // (flowing and two-colour kinds; 0 otherwise), bit 3 set when the LED is off, bits 5..7 the
  // step for the flowing kind.
  std::uint8_t StateByte() const;
  // Mode, step and on/off from a lighting state byte, read for the current kind: the flowing
  // kind takes its mode and step, the two-colour kind its mode. A mode field of 0 keeps the
  // selection.
  void ReadStateByte(std::uint8_t state);

  // From the working copies: kind from 0x00 bit 7 and 0x01 bits 3, 4; the two switches; the
  // brightness; the LED count from 0x03 bits 4..7 (a stored value above 9 leaves the count); the
  // offered modes from 0x04 bits 1..7 (then the first flowing mode is selected); mode, step and
  // on/off from byte 0x32.
  void ReadFrom(std::span<const std::uint8_t, 48> section_a,
                std::span<const std::uint8_t, 8> section_b);
  // Driver-only mode: the section A fields as above except the kind, the state byte from the
  // state record. The driver does not keep the kind bits up to date (its apply never writes
  // them), so the caller sets the kind the mouse reports (SetKind) before calling this.
  void ReadDriverFrom(std::span<const std::uint8_t, 48> section_a,
                      std::span<const std::uint8_t, 4> state_record);

  // Into the working copies: 0x00 bits 0, 2 and 7; 0x01 bits 3 and 4 as the kind writes them;
  // 0x03 bits 3..7; 0x04 (marker bit 0 and offered modes) only for the flowing kind; 0x32 from
  // StateByte() and 0x33 its complement.
  void WriteTo(std::span<std::uint8_t, 48> section_a, std::span<std::uint8_t, 8> section_b) const;
  // Driver-only apply: section A 0x00 bits 0 and 2 only; the state record byte 1 = StateByte().
  void WriteDriverTo(std::span<std::uint8_t, 48> section_a,
                     std::span<std::uint8_t, 4> state_record) const;

 private:
  void ReadSectionA(std::span<const std::uint8_t, 48> section_a);
  void WriteSwitches(std::span<std::uint8_t, 48> section_a) const;

  LightingFamily kind_ = LightingFamily::kFlowing;
  bool led_on_ = true;
  bool mid_dpi_switch_ = false;
  bool left_dpi_switch_ = false;
  bool full_brightness_ = true;
  int led_count_ = 13;
  std::array<bool, kLightingModeCount> offered_{true, true, true, true, true, true, true};
  int flowing_mode_ = 0;
  int two_colour_mode_ = 0;
  int step_ = 0;
};

}  // namespace zelt
