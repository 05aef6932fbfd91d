#pragma once
// The settings only the engineer page edits: the vendor and product codes written to the mouse,
// the sensor orientation, smoothing, the gun-key trigger and the Y offsets of the ten guns.

#include <array>
#include <cstdint>
#include <span>

#include "config/config_image.h"

namespace zelt {

inline constexpr int kOrientationEntries = 8;

// Orientation list entry (0..7) to the 3-bit code, and back (code 4 or unknown gives entry 2).
std::uint8_t OrientationCodeOfEntry(int entry);
int OrientationEntryOfCode(std::uint8_t code);

class EngineerEditor {
 public:
  std::uint8_t vendor_code() const { return vendor_code_; }
  std::uint8_t product_code() const { return product_code_; }
  int orientation_entry() const { return orientation_entry_; }
  bool smoothing() const { return smoothing_; }
  bool fire_needs_fn() const { return fire_needs_fn_; }
  int y_offset(int gun) const { return y_offsets_.at(gun); }  // guns 0..9, -128..127

  void SetVendorCode(std::uint8_t code) { vendor_code_ = code; }
  void SetProductCode(std::uint8_t code) { product_code_ = code; }
  void SetOrientationEntry(int entry);  // 0..7; others ignored
  void SetSmoothing(bool on) { smoothing_ = on; }
  void SetFireNeedsFn(bool on) { fire_needs_fn_ = on; }
  void SetYOffset(int gun, int offset);  // clamped to -128..127

  // From the working copies: codes 0x36/0x37, orientation 0x00 bits 4..6, smoothing 0x01 bit 5,
  // trigger 0x00 bit 1, each Y offset byte as a signed value.
  void ReadFrom(const WorkingCopies& copies);
  // Driver-only mode: smoothing travels in the state record's byte 0 bit 7 instead.
  void ReadDriverSmoothing(std::span<const std::uint8_t, 4> state_record);

  // Into the working copies: the codes, the three bit fields (nothing else of 0x00 and 0x01),
  // and each Y offset as its byte followed by the complement.
  void WriteTo(WorkingCopies& copies) const;

 private:
  std::uint8_t vendor_code_ = 0xFF;
  std::uint8_t product_code_ = 0xFF;
  int orientation_entry_ = 2;
  bool smoothing_ = true;
  bool fire_needs_fn_ = false;
  std::array<int, kFireMacroCount> y_offsets_{};
};

}  // namespace zelt
