#include "config/config_image.h"

#include <algorithm>

#include "util/checksum.h"

namespace zelt {
namespace {

constexpr std::array<std::uint8_t, 48> kSectionARepair = {
    0xFF, 0xFE, 0x04, 0x00, 0xFF, 0x00,                    // 0x00..0x05
    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,              // DPI levels 1..7
    0x01, 0x04, 0x03, 0x00, 0x02, 0x05, 0x06,              // 0x0D..0x13
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,                    // 0x14..0x19
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00,  // level colours 1..3
    0x00, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF,  // level colours 4..6
    0xFF, 0xFF, 0xFF,                                      // level colour 7
    0x00,                                                  // checksum, recomputed
};

// The complement pairs of section B and the values a broken pair takes.
struct PairRepair {
  std::size_t offset;
  std::uint8_t value;
};
constexpr PairRepair kSectionBRepairs[] = {{0, 0x01}, {2, 0x01}, {4, 0x00}};

constexpr std::array<std::uint8_t, 27> kProfileRepairCodes = {
    0x01, 0x01, 0x00, 0x01, 0x04, 0x00, 0x01, 0x02, 0x00, 0x01, 0x08, 0x00, 0x01, 0x10,
    0x00, 0x05, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x02, 0x08, 0x07, 0x09, 0x00, 0x00,
};

constexpr std::array<std::uint8_t, 10> kFireKeyRepair = {0x0A, 0xFD, 0x02, 0xA1, 0xFE,
                                                         0x03, 0x21, 0xFE, 0x64, 0xFC};

// Calls `visit(region, copy)` for each parameter region and its working copy.
template <typename Copies, typename Visit>
void ForEachParameterRegion(Copies& copies, Visit visit) {
  visit(regions::kSectionA, std::span(copies.section_a));
  visit(regions::kSectionB, std::span(copies.section_b));
  visit(regions::kProfile, std::span(copies.profile));
  visit(regions::kFireCodes, std::span(copies.fire_codes));
  visit(regions::kYOffsets, std::span(copies.y_offsets));
  visit(regions::kFireColours, std::span(copies.fire_colours));
  visit(regions::kFireKey, std::span(copies.fire_key));
}

template <typename Copies, typename Visit>
void ForEachMacroAndFireRegion(Copies& copies, Visit visit) {
  visit(regions::kMacroPagesA, std::span(copies.macro_pages_a));
  visit(regions::kFireArea, std::span(copies.fire_area));
  visit(regions::kMacroPagesB, std::span(copies.macro_pages_b));
}

// Visitors that move one region in either direction.
auto CopyFrom(const DataBuf& image) {
  return [&image](Region region, auto copy) {
    const auto bytes = RegionOf(image, region);
    std::copy(bytes.begin(), bytes.end(), copy.begin());
  };
}
auto PutInto(DataBuf& image) {
  return [&image](Region region, auto copy) {
    std::copy(copy.begin(), copy.end(), RegionOf(image, region).begin());
  };
}

constexpr std::uint8_t kFamilyBit00 = 0x80;
constexpr std::uint8_t kFamilyBit3 = 0x08;
constexpr std::uint8_t kFamilyBit4 = 0x10;

}  // namespace

void CopyParameterRegions(const DataBuf& image, WorkingCopies& copies) {
  ForEachParameterRegion(copies, CopyFrom(image));
}

void CopyMacroAndFireRegions(const DataBuf& image, WorkingCopies& copies) {
  ForEachMacroAndFireRegion(copies, CopyFrom(image));
  CopyFireRecords(copies);
}

void CopyFireRecords(WorkingCopies& copies) {
  std::copy_n(copies.fire_area.begin(), copies.fire_records.size(), copies.fire_records.begin());
}

void PutParameterRegions(const WorkingCopies& copies, DataBuf& image) {
  ForEachParameterRegion(copies, PutInto(image));
}

void PutMacroAndFireRegions(const WorkingCopies& copies, DataBuf& image) {
  ForEachMacroAndFireRegion(copies, PutInto(image));
}

std::span<std::uint8_t> RegionOf(DataBuf& image, Region region) {
  return std::span(image).subspan(region.offset, region.length);
}

std::span<const std::uint8_t> RegionOf(const DataBuf& image, Region region) {
  return std::span(image).subspan(region.offset, region.length);
}

void WriteSectionChecksum(std::span<std::uint8_t> section) {
  section.back() = Checksum(section.first(section.size() - 1));
}

bool SectionChecksumValid(std::span<const std::uint8_t> section) {
  return section.back() == Checksum(section.first(section.size() - 1));
}

bool CheckParameterASection(std::span<std::uint8_t, 48> section_a) {
  if (SectionChecksumValid(section_a)) return false;
  std::copy(kSectionARepair.begin(), kSectionARepair.end(), section_a.begin());
  WriteSectionChecksum(section_a);
  return true;
}

bool CheckParameterBSection(std::span<std::uint8_t, 8> section_b) {
  bool repaired = false;
  for (const auto& pair : kSectionBRepairs) {
    if (section_b[pair.offset] + section_b[pair.offset + 1] == 0xFF) continue;
    section_b[pair.offset] = pair.value;
    section_b[pair.offset + 1] = Complement(pair.value);
    repaired = true;
  }
  return repaired;
}

bool CheckProfileSection(std::span<std::uint8_t, 55> profile) {
  if (SectionChecksumValid(profile)) return false;
  std::fill(profile.begin(), profile.end(), 0xFF);
  std::copy(kProfileRepairCodes.begin(), kProfileRepairCodes.end(), profile.begin());
  std::copy(kProfileRepairCodes.begin(), kProfileRepairCodes.end(), profile.begin() + 27);
  WriteSectionChecksum(profile);
  return true;
}

bool CheckFireKeySection(std::span<std::uint8_t, 11> fire_key) {
  if (SectionChecksumValid(fire_key)) return false;
  std::copy(kFireKeyRepair.begin(), kFireKeyRepair.end(), fire_key.begin());
  WriteSectionChecksum(fire_key);
  return true;
}

LightingFamily ReadLightingFamily(std::uint8_t byte00, std::uint8_t byte01) {
  if (!(byte00 & kFamilyBit00)) return LightingFamily::kFlowing;
  if (byte01 & kFamilyBit3) return LightingFamily::kTwoColour;
  if (byte01 & kFamilyBit4) return LightingFamily::kBreathing;
  return LightingFamily::kSynchronous;
}

void WriteLightingFamily(LightingFamily family, std::uint8_t& byte00, std::uint8_t& byte01) {
  switch (family) {
    case LightingFamily::kFlowing:
      byte00 &= static_cast<std::uint8_t>(~kFamilyBit00);
      byte01 |= kFamilyBit3;
      break;
    case LightingFamily::kTwoColour:
      byte00 |= kFamilyBit00;
      byte01 |= kFamilyBit3;
      break;
    case LightingFamily::kSynchronous:
      byte00 |= kFamilyBit00;
      byte01 &= static_cast<std::uint8_t>(~(kFamilyBit3 | kFamilyBit4));
      break;
    case LightingFamily::kBreathing:
      byte00 |= kFamilyBit00;
      byte01 = static_cast<std::uint8_t>((byte01 & ~kFamilyBit3) | kFamilyBit4);
      break;
  }
}

std::uint8_t OrientationCode(std::uint8_t byte00) { return (byte00 >> 4) & 0x07; }

void SetOrientationCode(std::uint8_t& byte00, std::uint8_t code) {
  byte00 = static_cast<std::uint8_t>((byte00 & ~0x70) | ((code & 0x07) << 4));
}

int LedCount(std::uint8_t byte03) { return 13 - (byte03 >> 4); }

void SetLedCount(std::uint8_t& byte03, int count) {
  count = std::clamp(count, 4, 13);
  byte03 = static_cast<std::uint8_t>((byte03 & 0x0F) | ((13 - count) << 4));
}

}  // namespace zelt
