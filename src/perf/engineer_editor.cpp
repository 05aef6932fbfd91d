#include "perf/engineer_editor.h"

#include <algorithm>

#include "util/checksum.h"

namespace zelt {
namespace {

// The orientation list's entries in order, as their 3-bit codes.
constexpr std::array<std::uint8_t, kOrientationEntries> kOrientationCodes = {7, 2, 4, 1,
                                                                             6, 5, 0, 3};
constexpr int kDefaultOrientationEntry = 2;  // "180°", code 4

// Section A byte 0x00 and 0x01 bits.
constexpr std::uint8_t kFireNeedsFnBit = 0x02;  // byte 0x00
constexpr std::uint8_t kSmoothingBit = 0x20;    // byte 0x01
// Section B offsets of the vendor and product codes (0x36, 0x37).
constexpr std::size_t kVendorOffset = 6;
constexpr std::size_t kProductOffset = 7;

void SetBit(std::uint8_t& byte, std::uint8_t bit, bool on) {
  byte = static_cast<std::uint8_t>(on ? (byte | bit) : (byte & ~bit));
}

}  // namespace

std::uint8_t OrientationCodeOfEntry(int entry) {
  if (entry < 0 || entry >= kOrientationEntries) entry = kDefaultOrientationEntry;
  return kOrientationCodes[entry];
}

int OrientationEntryOfCode(std::uint8_t code) {
  // Code 4 is entry 2 itself; a code outside the list falls back to it too.
  const auto* found = std::find(kOrientationCodes.begin(), kOrientationCodes.end(), code);
  if (found == kOrientationCodes.end()) return kDefaultOrientationEntry;
  return static_cast<int>(found - kOrientationCodes.begin());
}

void EngineerEditor::SetOrientationEntry(int entry) {
  if (entry >= 0 && entry < kOrientationEntries) orientation_entry_ = entry;
}

void EngineerEditor::SetYOffset(int gun, int offset) {
  y_offsets_.at(gun) = std::clamp(offset, -128, 127);
}

void EngineerEditor::ReadFrom(const WorkingCopies& copies) {
  vendor_code_ = copies.section_b[kVendorOffset];
  product_code_ = copies.section_b[kProductOffset];
  orientation_entry_ = OrientationEntryOfCode(OrientationCode(copies.section_a[0x00]));
  smoothing_ = (copies.section_a[0x01] & kSmoothingBit) != 0;
  fire_needs_fn_ = (copies.section_a[0x00] & kFireNeedsFnBit) != 0;
  for (std::size_t gun = 0; gun < kFireMacroCount; ++gun) {
    // The stored byte is the offset's two's-complement pattern.
    y_offsets_[gun] = static_cast<std::int8_t>(copies.y_offsets[2 * gun]);
  }
}

void EngineerEditor::ReadDriverSmoothing(std::span<const std::uint8_t, 4> state_record) {
  smoothing_ = (state_record[0] & 0x80) != 0;
}

void EngineerEditor::WriteTo(WorkingCopies& copies) const {
  copies.section_b[kVendorOffset] = vendor_code_;
  copies.section_b[kProductOffset] = product_code_;
  SetOrientationCode(copies.section_a[0x00], OrientationCodeOfEntry(orientation_entry_));
  SetBit(copies.section_a[0x01], kSmoothingBit, smoothing_);
  SetBit(copies.section_a[0x00], kFireNeedsFnBit, fire_needs_fn_);
  for (std::size_t gun = 0; gun < kFireMacroCount; ++gun) {
    const auto value = static_cast<std::uint8_t>(y_offsets_[gun]);
    copies.y_offsets[2 * gun] = value;
    copies.y_offsets[2 * gun + 1] = Complement(value);
  }
}

}  // namespace zelt
