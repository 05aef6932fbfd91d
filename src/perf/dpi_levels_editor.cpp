#include "perf/dpi_levels_editor.h"

#include "util/checksum.h"

namespace zelt {
namespace {

// Section A offsets.
constexpr std::size_t kCountOffset = 0x02;
constexpr std::size_t kValuesOffset = 0x06;
constexpr std::size_t kColoursOffset = 0x1A;
// Section B offsets (0x30 and 0x31 in the image).
constexpr std::size_t kCurrentLevelOffset = 0;
constexpr std::size_t kCurrentLevelComplementOffset = 1;

constexpr std::uint8_t kSmoothingBit = 0x80;

}  // namespace

void DpiLevelsEditor::SetCount(int count) {
  if (count < kMinDpiLevels || count > kDpiLevelCount) return;
  count_ = count;
  current_level_ = count - 1;
}

void DpiLevelsEditor::SetCurrentLevel(int level) {
  if (level < 0 || level >= count_) return;
  current_level_ = level;
}

void DpiLevelsEditor::SetValueIndex(int level, std::uint8_t value_index) {
  value_indexes_.at(level) = value_index;
}

void DpiLevelsEditor::SetColour(int level, RgbColour colour) { colours_.at(level) = colour; }

// The fields both storage modes keep in section A, then the current level. A level byte the
// count does not reach makes the highest level current, so a later write never stores a level
// the mouse cannot step to.
void DpiLevelsEditor::ReadSectionA(std::span<const std::uint8_t, 48> section_a) {
  SetCount(section_a[kCountOffset]);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    value_indexes_[level] = section_a[kValuesOffset + level];
    const std::size_t at = kColoursOffset + 3 * static_cast<std::size_t>(level);
    colours_[level] = RgbColour{section_a[at], section_a[at + 1], section_a[at + 2]};
  }
}

void DpiLevelsEditor::ReadCurrentLevel(int level) {
  current_level_ = level < count_ ? level : count_ - 1;
}

void DpiLevelsEditor::ReadFrom(std::span<const std::uint8_t, 48> section_a,
                               std::span<const std::uint8_t, 8> section_b) {
  ReadSectionA(section_a);
  ReadCurrentLevel(section_b[kCurrentLevelOffset]);
}

void DpiLevelsEditor::ReadDriverFrom(std::span<const std::uint8_t, 48> section_a,
                                     std::span<const std::uint8_t, 4> state_record) {
  ReadSectionA(section_a);
  ReadCurrentLevel(state_record[0] & ~kSmoothingBit);
}

void DpiLevelsEditor::WriteCountAndValues(std::span<std::uint8_t, 48> section_a) const {
  section_a[kCountOffset] = static_cast<std::uint8_t>(count_);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    section_a[kValuesOffset + level] = value_indexes_[level];
  }
}

void DpiLevelsEditor::WriteTo(std::span<std::uint8_t, 48> section_a,
                              std::span<std::uint8_t, 8> section_b) const {
  WriteCountAndValues(section_a);
  for (int level = 0; level < kDpiLevelCount; ++level) {
    const std::size_t at = kColoursOffset + 3 * static_cast<std::size_t>(level);
    section_a[at] = colours_[level].red;
    section_a[at + 1] = colours_[level].green;
    section_a[at + 2] = colours_[level].blue;
  }
  const auto level = static_cast<std::uint8_t>(current_level_);
  section_b[kCurrentLevelOffset] = level;
  section_b[kCurrentLevelComplementOffset] = Complement(level);
}

void DpiLevelsEditor::WriteDriverTo(std::span<std::uint8_t, 48> section_a,
                                    std::span<std::uint8_t, 8> section_b,
                                    std::span<std::uint8_t, 4> state_record, bool smoothing) const {
  WriteCountAndValues(section_a);
  const auto level = static_cast<std::uint8_t>(current_level_ | (smoothing ? kSmoothingBit : 0x00));
  section_b[kCurrentLevelOffset] = level;
  section_b[kCurrentLevelComplementOffset] = Complement(level);
  state_record[0] = level;
  state_record[3] = value_indexes_[current_level_];
}

}  // namespace zelt
