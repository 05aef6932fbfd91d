#include "config/profile_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "util/file_io.h"

namespace zelt {
namespace {

using test_support::TempDir;
using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes FileBytes(const std::filesystem::path& path) {
  return ReadFileBytes(path, 1 << 20).value_or(Bytes{});
}

// Bytes whose value tells their offset (modulo 251, so the pattern does not repeat every 256).
Bytes Pattern(std::size_t size, std::uint8_t salt = 0) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i % 251 + salt);
  return bytes;
}

template <std::size_t N>
Bytes AsBytes(const std::array<std::uint8_t, N>& array) {
  return Bytes(array.begin(), array.end());
}

Bytes Slice(const Bytes& bytes, std::size_t offset, std::size_t length) {
  Bytes out(length, 0);
  for (std::size_t i = 0; i < length && offset + i < bytes.size(); ++i) out[i] = bytes[offset + i];
  return out;
}

TEST(ProfileFiles, NamesTheResetFiles) {
  EXPECT_EQ(ResetFileName(1), "ZELT30qData_Cfg1.bin");
  EXPECT_EQ(ResetFileName(3), "ZELT30qData_Cfg3.bin");
  EXPECT_EQ(DriverResetFileName(2), "Driver_ZELT30qData_Cfg2.bin");
}

TEST(ReadImageFile, ReplacesOnlyTheBytesTheFileHolds) {
  TempDir dir;
  struct Case {
    std::size_t file_size;
    std::size_t replaced;
  };
  for (const Case c : {Case{100, 100}, Case{2048, 2048}, Case{3000, 2048}, Case{0, 0}}) {
    const Bytes file = Pattern(c.file_size, 7);
    WriteFile(dir.path() / "image.bin", file);
    DataBuf image;
    image.fill(0xC3);
    ASSERT_TRUE(ReadImageFile(dir.path() / "image.bin", image, nullptr)) << c.file_size;
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(c.replaced),
                           file.begin()))
        << c.file_size;
    EXPECT_TRUE(std::all_of(image.begin() + static_cast<std::ptrdiff_t>(c.replaced), image.end(),
                            [](std::uint8_t byte) { return byte == 0xC3; }))
        << c.file_size;
  }
}

TEST(ReadImageFile, AMissingFileLeavesTheImageAndSaysWhy) {
  TempDir dir;
  DataBuf image;
  image.fill(0x11);
  std::string error;
  EXPECT_FALSE(ReadImageFile(dir.path() / "absent.bin", image, &error));
  EXPECT_NE(error.find("absent.bin"), std::string::npos) << error;
  EXPECT_TRUE(std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == 0x11; }));
}

TEST(ParseDriverModeFile, TakesEachSectionFromItsOffset) {
  const Bytes file = Pattern(kDriverFileSize);
  DriverModeSections sections = ParseDriverModeFile(file);
  EXPECT_EQ(AsBytes(sections.section_a), Slice(file, 0, 48));
  EXPECT_EQ(AsBytes(sections.section_b), Slice(file, 48, 8));
  EXPECT_EQ(AsBytes(sections.profile), Slice(file, 64, 55));
  EXPECT_EQ(AsBytes(sections.state.bytes), Slice(file, 160, 4));
  EXPECT_EQ(AsBytes(sections.fire_key), Slice(file, 242, 11));
}

TEST(ParseDriverModeFile, BytesPastTheEndOfAShortFileReadAsZero) {
  for (std::size_t size : {0u, 50u, 162u, 250u}) {
    const Bytes file = Pattern(size, 1);
    DriverModeSections sections = ParseDriverModeFile(file);
    EXPECT_EQ(AsBytes(sections.section_a), Slice(file, 0, 48)) << size;
    EXPECT_EQ(AsBytes(sections.section_b), Slice(file, 48, 8)) << size;
    EXPECT_EQ(AsBytes(sections.profile), Slice(file, 64, 55)) << size;
    EXPECT_EQ(AsBytes(sections.state.bytes), Slice(file, 160, 4)) << size;
    EXPECT_EQ(AsBytes(sections.fire_key), Slice(file, 242, 11)) << size;
  }
}

TEST(ReadDriverModeFile, ReadsTheSectionsOrSaysWhyNot) {
  TempDir dir;
  const Bytes file = Pattern(kDriverFileSize, 3);
  WriteFile(dir.path() / "profile.bin", file);
  auto sections = ReadDriverModeFile(dir.path() / "profile.bin", nullptr);
  ASSERT_TRUE(sections.has_value());
  EXPECT_EQ(AsBytes(sections->fire_key), Slice(file, 242, 11));

  std::string error;
  EXPECT_FALSE(ReadDriverModeFile(dir.path() / "none.bin", &error).has_value());
  EXPECT_FALSE(error.empty());
}

TEST(ReadDriverStateRecord, PrefersTheStateFileAndFallsBackToDefaultFileOne) {
  const Bytes defaults = Pattern(kDriverFileSize, 9);
  const Bytes from_defaults = Slice(defaults, 160, 4);
  struct Case {
    const char* what;
    std::optional<Bytes> state_file;
    bool default_file;
    std::optional<Bytes> expected;
  };
  const Case cases[] = {
      {"state file", Bytes{0x83, 0x25, 0x07, 0x04}, true, Bytes{0x83, 0x25, 0x07, 0x04}},
      {"longer state file", Bytes{1, 2, 3, 4, 5, 6}, false, Bytes{1, 2, 3, 4}},
      {"no state file", std::nullopt, true, from_defaults},
      // A record cut short is not used: the rest of it would be made up.
      {"short state file", Bytes{0x81, 0x20}, true, from_defaults},
      {"empty state file", Bytes{}, true, from_defaults},
      {"short state file, no default", Bytes{0x81}, false, std::nullopt},
      {"neither", std::nullopt, false, std::nullopt},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (c.state_file) WriteFile(dir.path() / kStateFileName, *c.state_file);
    if (c.default_file) WriteFile(dir.path() / "Driver_ZELT30qData_Cfg1.bin", defaults);
    auto state = ReadDriverStateRecord(dir.path());
    ASSERT_EQ(state.has_value(), c.expected.has_value()) << c.what;
    if (state) {
      EXPECT_EQ(AsBytes(state->bytes), *c.expected) << c.what;
    }
  }
}

TEST(ReadDriverStateRecord, AShortDefaultFileGivesZerosForTheMissingBytes) {
  TempDir dir;
  WriteFile(dir.path() / "Driver_ZELT30qData_Cfg1.bin", Pattern(162, 2));
  auto state = ReadDriverStateRecord(dir.path());
  ASSERT_TRUE(state.has_value());
  EXPECT_EQ(AsBytes(state->bytes), (Bytes{162, 163, 0, 0}));
}

TEST(WriteDriverStateFile, ReplacesTheFileWithTheFourRecordBytes) {
  TempDir dir;
  WriteFile(dir.path() / kStateFileName, Pattern(40));
  DriverStateRecord state;
  state.bytes = {0x82, 0x31, 0xFE, 0x09};
  std::string error;
  ASSERT_TRUE(WriteDriverStateFile(dir.path(), state, &error)) << error;
  EXPECT_EQ(FileBytes(dir.path() / kStateFileName), (Bytes{0x82, 0x31, 0xFE, 0x09}));
  auto read = ReadDriverStateRecord(dir.path());
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->bytes, state.bytes);
  // Nothing but the state file is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(WriteDriverStateFile, FailsWithAReasonWhenTheFolderIsMissing) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteDriverStateFile(dir.path() / "missing", DriverStateRecord{}, &error));
  EXPECT_FALSE(error.empty());
}

TEST(ProfileSaveTarget, AppendsBinToTheChosenNameInTheChosenFolder) {
  struct Case {
    const char* chosen;
    const char* target;
  };
  const Case cases[] = {
      {"dir/a.bin", "dir/a.bin.bin"},
      {"dir/profile", "dir/profile.bin"},
      {"/home/u/My Profile.BIN", "/home/u/My Profile.BIN.bin"},
      {"profile", "profile.bin"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProfileSaveTarget(c.chosen), std::filesystem::path(c.target)) << c.chosen;
  }
}

}  // namespace
}  // namespace zelt
