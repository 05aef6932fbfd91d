#pragma once
// The fire key's settings (the rapid-fire key): shot count or continuous fire, and the interval.

#include <cstdint>
#include <span>

namespace zelt {

class FireKeyEditor {
 public:
  bool continuous() const { return continuous_; }
  // Entry of the 256-entry count list: shot count - 1 (255 while continuous).
  std::uint8_t count_entry() const { return count_entry_; }
  std::uint8_t interval() const { return interval_; }  // units of 8 ms

  void SetContinuous(bool on);  // on: entry 255; off: entry 2 (three shots)
  // Also turns continuous fire off, except for entry 255: it stores the continuous byte, so it
  // turns continuous fire on.
  void SetCountEntry(std::uint8_t entry);
  void SetInterval(std::uint8_t interval) { interval_ = interval; }

  // From the fire key copy: byte 0xF2 (0xFF = continuous, else the count entry), byte 0xF8.
  void ReadFrom(std::span<const std::uint8_t, 11> fire_key);
  // Into the fire key copy: 0xF2 (0xFF when continuous, else the entry) and 0xF8. The checksum
  // is written later, just before the copy goes out.
  void WriteTo(std::span<std::uint8_t, 11> fire_key) const;
  // Driver-only apply: as WriteTo, and byte 0xFA (the checksum's place) becomes 0.
  void WriteDriverTo(std::span<std::uint8_t, 11> fire_key) const;

 private:
  bool continuous_ = false;
  std::uint8_t count_entry_ = 2;
  std::uint8_t interval_ = 6;
};

}  // namespace zelt
