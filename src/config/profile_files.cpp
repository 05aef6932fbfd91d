#include "config/profile_files.h"

#include <algorithm>

#include "util/file_io.h"

namespace zelt {
namespace {

// Offsets in a driver-mode file (the driver's memory from address 0).
constexpr std::size_t kFileSectionA = 0;
constexpr std::size_t kFileSectionB = 48;
constexpr std::size_t kFileProfile = 64;
constexpr std::size_t kFileState = kDriverStateAddress;          // 160
constexpr std::size_t kFileFireKey = kDriverFireKeyAddress + 2;  // 242

// Copies bytes [offset, offset + out.size()) of `bytes` into `out`; what lies past the end of
// `bytes` reads as 0.
void Take(std::span<const std::uint8_t> bytes, std::size_t offset, std::span<std::uint8_t> out) {
  std::fill(out.begin(), out.end(), 0);
  if (offset >= bytes.size()) return;
  const std::size_t count = std::min(out.size(), bytes.size() - offset);
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
}

}  // namespace

std::string ResetFileName(int default_number) {
  return "ZELT30qData_Cfg" + std::to_string(default_number) + ".bin";
}

std::string DriverResetFileName(int default_number) {
  return "Driver_" + ResetFileName(default_number);
}

bool ReadImageFile(const std::filesystem::path& path, DataBuf& image, std::string* error) {
  auto bytes = ReadFileBytes(path, kImageSize, error);
  if (!bytes) return false;
  std::copy(bytes->begin(), bytes->end(), image.begin());
  return true;
}

DriverModeSections ParseDriverModeFile(std::span<const std::uint8_t> bytes) {
  bytes = bytes.first(std::min(bytes.size(), kDriverFileReadLimit));
  DriverModeSections sections;
  Take(bytes, kFileSectionA, sections.section_a);
  Take(bytes, kFileSectionB, sections.section_b);
  Take(bytes, kFileProfile, sections.profile);
  Take(bytes, kFileFireKey, sections.fire_key);
  Take(bytes, kFileState, sections.state.bytes);
  return sections;
}

std::optional<DriverModeSections> ReadDriverModeFile(const std::filesystem::path& path,
                                                     std::string* error) {
  auto bytes = ReadFileBytes(path, kDriverFileReadLimit, error);
  if (!bytes) return std::nullopt;
  return ParseDriverModeFile(*bytes);
}

std::optional<DriverStateRecord> ReadDriverStateRecord(const std::filesystem::path& folder) {
  // A state file shorter than the record would leave part of it undefined: it is passed over
  // like a missing one, and the record comes from default file 1 instead.
  DriverStateRecord state;
  if (auto bytes = ReadFileBytes(folder / kStateFileName, state.bytes.size());
      bytes && bytes->size() == state.bytes.size()) {
    std::copy(bytes->begin(), bytes->end(), state.bytes.begin());
    return state;
  }
  if (auto sections = ReadDriverModeFile(folder / DriverResetFileName(1), nullptr)) {
    return sections->state;
  }
  return std::nullopt;
}

bool WriteDriverStateFile(const std::filesystem::path& folder, const DriverStateRecord& state,
                          std::string* error) {
  return WriteFileAtomic(folder / kStateFileName, state.bytes, error);
}

std::filesystem::path ProfileSaveTarget(const std::filesystem::path& chosen) {
  std::filesystem::path name = chosen.filename();
  name += ".bin";
  return chosen.parent_path() / name;
}

}  // namespace zelt
