#pragma once
// The files of the configuration flows: EEPROM-mode profiles and reset images (2048-byte images),
// driver-mode files (the filter driver's memory from address 0) and the driver-mode state file.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/config_image.h"

namespace zelt {

inline constexpr std::size_t kDriverFileSize = 40960;          // what a driver-mode save writes
inline constexpr std::size_t kDriverFileReadLimit = 102400;    // what a reader looks at, at most
inline constexpr std::uint32_t kDriverStateAddress = 0x0A0;    // state record in driver memory
inline constexpr std::uint32_t kDriverFireKeyAddress = 0x0F0;  // two zero bytes, then the section

inline constexpr const char* kStateFileName = "DriverTempCPIAndLedData.bin";

// "ZELT30qData_Cfg<k>.bin" and "Driver_ZELT30qData_Cfg<k>.bin" for defaults k = 1..3.
std::string ResetFileName(int default_number);
std::string DriverResetFileName(int default_number);

// Reads the first 2048 bytes of an image file over `image`: a shorter file replaces only as many
// bytes as it has. False with `error` when the file cannot be read.
bool ReadImageFile(const std::filesystem::path& path, DataBuf& image, std::string* error);

// The sections a driver-mode file carries.
struct DriverModeSections {
  std::array<std::uint8_t, 48> section_a{};
  std::array<std::uint8_t, 8> section_b{};
  std::array<std::uint8_t, 55> profile{};
  std::array<std::uint8_t, 11> fire_key{};
  DriverStateRecord state;
};
// Section A from bytes 0..47, B from 48..55, the profile from 64..118, the state record from
// 160..163 and the fire key section from 242..252 of the first 102400 bytes; bytes past the end
// of a short file read as 0.
DriverModeSections ParseDriverModeFile(std::span<const std::uint8_t> bytes);
std::optional<DriverModeSections> ReadDriverModeFile(const std::filesystem::path& path,
                                                     std::string* error);

// The state record from the state file in `folder`, or else from bytes 160..163 of default
// driver-mode file 1 there; nothing when neither exists or can be read.
std::optional<DriverStateRecord> ReadDriverStateRecord(const std::filesystem::path& folder);
// Replaces the state file in `folder` with the four record bytes.
bool WriteDriverStateFile(const std::filesystem::path& folder, const DriverStateRecord& state,
                          std::string* error);

// Where a profile save from the dialog goes: the chosen name without its folder, with ".bin"
// appended, in the chosen folder ("a.bin" gives "a.bin.bin").
std::filesystem::path ProfileSaveTarget(const std::filesystem::path& chosen);

}  // namespace zelt
