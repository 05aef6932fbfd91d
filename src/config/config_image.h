#pragma once
// The configuration image: a byte-exact copy of the mouse's 2048-byte memory, its regions, the
// working copies the editors use, the four section checks with their repair values, and the bit
// rules shared by several editors.

#include <array>
#include <cstdint>
#include <span>

namespace zelt {

inline constexpr std::size_t kImageSize = 2048;
using DataBuf = std::array<std::uint8_t, kImageSize>;

struct Region {
  std::uint16_t offset;
  std::uint16_t length;
};

// Regions the utility interprets; everything between them is carried unchanged.
namespace regions {
inline constexpr Region kParameters{0x000, 255};    // the block every read and apply moves
inline constexpr Region kSectionA{0x000, 48};       // device parameters, checksum last
inline constexpr Region kSectionB{0x030, 8};        // current state, complement pairs, codes
inline constexpr Region kCodes{0x036, 2};           // vendor code, product code
inline constexpr Region kProfile{0x040, 55};        // 2 x 9 button codes, checksum last
inline constexpr Region kFireCodes{0x080, 30};      // 10 x 3-byte fire macro codes
inline constexpr Region kYOffsets{0x0B0, 20};       // 10 x (offset, complement)
inline constexpr Region kFireColours{0x0D0, 30};    // 10 x RGB
inline constexpr Region kFireKey{0x0F0, 11};        // the fire key's short macro, checksum last
inline constexpr Region kMacroPagesA{0x100, 1024};  // macro slots 1 to 4
inline constexpr Region kFireArea{0x500, 256};      // ten 24-byte fire macro records
inline constexpr Region kMacroPagesB{0x600, 512};   // macro slots 5 and 6
}  // namespace regions

// Page addresses a button's macro code carries for slots 1 to 6 (page + 0x21).
inline constexpr std::array<std::uint16_t, 6> kMacroSlotAddresses = {0x0121, 0x0221, 0x0321,
                                                                     0x0421, 0x0621, 0x0721};

inline constexpr std::size_t kButtonCount = 9;
inline constexpr std::size_t kFireMacroCount = 10;
inline constexpr std::size_t kFireRecordSize = 24;

// One copy per region; the editors work on these, never on DataBuf.
struct WorkingCopies {
  std::array<std::uint8_t, 48> section_a{};
  std::array<std::uint8_t, 8> section_b{};
  std::array<std::uint8_t, 55> profile{};
  std::array<std::uint8_t, 30> fire_codes{};
  std::array<std::uint8_t, 20> y_offsets{};
  std::array<std::uint8_t, 30> fire_colours{};
  std::array<std::uint8_t, 11> fire_key{};
  std::array<std::uint8_t, 1024> macro_pages_a{};
  std::array<std::uint8_t, 256> fire_area{};
  // A second copy of the ten fire macro records, kept apart from the area copy.
  std::array<std::uint8_t, kFireMacroCount * kFireRecordSize> fire_records{};
  std::array<std::uint8_t, 512> macro_pages_b{};
};

// The bytes of a region inside the image.
std::span<std::uint8_t> RegionOf(DataBuf& image, Region region);
std::span<const std::uint8_t> RegionOf(const DataBuf& image, Region region);

// Moves regions between the image and their working copies. The parameter regions are the seven
// below 0x100 (sections A, B, the profile, the three fire tables and the fire key); the macro and
// fire regions are the two macro page copies and the fire area, whose ten records also go to
// their second copy when read.
void CopyParameterRegions(const DataBuf& image, WorkingCopies& copies);
void CopyMacroAndFireRegions(const DataBuf& image, WorkingCopies& copies);
void PutParameterRegions(const WorkingCopies& copies, DataBuf& image);
void PutMacroAndFireRegions(const WorkingCopies& copies, DataBuf& image);
// Copies the ten records of the fire area copy into their second copy.
void CopyFireRecords(WorkingCopies& copies);

// Recomputes the last byte of a section (A, profile, fire key) from the bytes before it.
void WriteSectionChecksum(std::span<std::uint8_t> section);
bool SectionChecksumValid(std::span<const std::uint8_t> section);

// The four checks. Each returns true when it had to repair its copy.
bool CheckParameterASection(std::span<std::uint8_t, 48> section_a);
bool CheckParameterBSection(std::span<std::uint8_t, 8> section_b);
bool CheckProfileSection(std::span<std::uint8_t, 55> profile);
bool CheckFireKeySection(std::span<std::uint8_t, 11> fire_key);

// Lighting family, kept in section A byte 0x00 bit 7 and byte 0x01 bits 3 and 4.
enum class LightingFamily { kFlowing, kTwoColour, kSynchronous, kBreathing };
LightingFamily ReadLightingFamily(std::uint8_t byte00, std::uint8_t byte01);
void WriteLightingFamily(LightingFamily family, std::uint8_t& byte00, std::uint8_t& byte01);

// Sensor orientation code, section A byte 0x00 bits 4 to 6.
std::uint8_t OrientationCode(std::uint8_t byte00);
void SetOrientationCode(std::uint8_t& byte00, std::uint8_t code);

// LED count 4..13, stored as 13 minus the count in section A byte 0x03 bits 4 to 7.
int LedCount(std::uint8_t byte03);
void SetLedCount(std::uint8_t& byte03, int count);

// An indicator colour as the image stores it: red, green, blue.
struct RgbColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const RgbColour&) const = default;
};

// The 4-byte state record of driver-only mode.
struct DriverStateRecord {
  std::array<std::uint8_t, 4> bytes{};

  std::uint8_t dpi_level() const { return bytes[0] & 0x7F; }  // 0-based level index
  bool smoothing() const { return (bytes[0] & 0x80) != 0; }
  std::uint8_t lighting_state() const { return bytes[1]; }   // layout of image byte 0x32
  std::uint8_t dpi_value_index() const { return bytes[3]; }  // index into the DPI values
};

}  // namespace zelt
