#include "fire/fire_key_editor.h"

namespace zelt {
namespace {

// Offsets inside the fire key copy (image 0xF0..0xFA).
constexpr std::size_t kCountOffset = 0x02;     // 0xF2
constexpr std::size_t kIntervalOffset = 0x08;  // 0xF8
constexpr std::size_t kChecksumOffset = 0x0A;  // 0xFA

// The count byte of continuous fire, which is also the last entry of the count list.
constexpr std::uint8_t kContinuous = 0xFF;
constexpr std::uint8_t kThreeShots = 2;

}  // namespace

void FireKeyEditor::SetContinuous(bool on) {
  continuous_ = on;
  count_entry_ = on ? kContinuous : kThreeShots;
}

void FireKeyEditor::SetCountEntry(std::uint8_t entry) {
  // The last entry stores the same byte as continuous fire, and the mouse plays it as such; the
  // editor says so instead of showing a shot count the mouse will not keep.
  if (entry == kContinuous) {
    SetContinuous(true);
    return;
  }
  continuous_ = false;
  count_entry_ = entry;
}

void FireKeyEditor::ReadFrom(std::span<const std::uint8_t, 11> fire_key) {
  const std::uint8_t count = fire_key[kCountOffset];
  continuous_ = count == kContinuous;
  count_entry_ = count;
  interval_ = fire_key[kIntervalOffset];
}

void FireKeyEditor::WriteTo(std::span<std::uint8_t, 11> fire_key) const {
  fire_key[kCountOffset] = continuous_ ? kContinuous : count_entry_;
  fire_key[kIntervalOffset] = interval_;
}

void FireKeyEditor::WriteDriverTo(std::span<std::uint8_t, 11> fire_key) const {
  WriteTo(fire_key);
  fire_key[kChecksumOffset] = 0;
}

}  // namespace zelt
