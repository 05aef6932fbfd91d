#pragma once
// The DPI levels editor's state: how many levels the mouse steps through, each level's DPI value
// index and indicator colour, and the current level. Both DPI views show this one state.

#include <array>
#include <cstdint>
#include <span>

#include "config/config_image.h"

namespace zelt {

inline constexpr int kDpiLevelCount = 7;  // levels 1..7, numbered from 0 here
inline constexpr int kMinDpiLevels = 2;
inline constexpr std::uint8_t kNoDpiValue = 0xFF;  // a level whose value was never chosen

class DpiLevelsEditor {
 public:
  int count() const { return count_; }                  // 2..7
  int current_level() const { return current_level_; }  // 0-based, below count()
  std::uint8_t value_index(int level) const { return value_indexes_.at(level); }
  RgbColour colour(int level) const { return colours_.at(level); }

  // A new count (2..7; others are ignored) makes its highest level current.
  void SetCount(int count);
  // Levels at or above count() are ignored.
  void SetCurrentLevel(int level);
  void SetValueIndex(int level, std::uint8_t value_index);
  void SetColour(int level, RgbColour colour);

  // From the working copies of sections A and B: the count from byte 0x02 (a count outside 2..7
  // leaves the editor's count as it was), values 0x06..0x0C, colours 0x1A..0x2E, the current
  // level from byte 0x30 (a level at or past the count becomes the highest level).
  void ReadFrom(std::span<const std::uint8_t, 48> section_a,
                std::span<const std::uint8_t, 8> section_b);
  // Driver-only mode keeps the current level in the state record (byte 0, bit 7 is smoothing)
  // instead of section B.
  void ReadDriverFrom(std::span<const std::uint8_t, 48> section_a,
                      std::span<const std::uint8_t, 4> state_record);

  // Into the working copies: 0x02 count, 0x06..0x0C values, 0x1A..0x2E colours, 0x30 current
  // level and 0x31 its complement. Nothing else is touched.
  void WriteTo(std::span<std::uint8_t, 48> section_a, std::span<std::uint8_t, 8> section_b) const;
  // Driver-only apply: section A gets only 0x02 and 0x06..0x0C; section B 0x30 = current level
  // with bit 7 = `smoothing`, 0x31 its complement; the state record byte 0 the same as 0x30 and
  // byte 3 the value index of the current level. Other bytes are left alone.
  void WriteDriverTo(std::span<std::uint8_t, 48> section_a, std::span<std::uint8_t, 8> section_b,
                     std::span<std::uint8_t, 4> state_record, bool smoothing) const;

 private:
  void ReadSectionA(std::span<const std::uint8_t, 48> section_a);
  void ReadCurrentLevel(int level);
  void WriteCountAndValues(std::span<std::uint8_t, 48> section_a) const;

  int count_ = kDpiLevelCount;
  int current_level_ = 0;
  std::array<std::uint8_t, kDpiLevelCount> value_indexes_{};
  std::array<RgbColour, kDpiLevelCount> colours_{};
};

}  // namespace zelt
