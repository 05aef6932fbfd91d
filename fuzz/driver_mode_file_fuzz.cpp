// Feeds outside bytes to the readers of stored configurations: a driver-mode file as a profile or
// a default file hands it over, the macro pages of an image as the mouse or a profile holds them,
// and driver memory with button codes that point into it. Besides running under the address
// checks it holds the readers to their promises: sections come from their offsets (zeros past a
// short file), slot records that stay have a good checksum, and what is read can be written back
// unchanged.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "config/profile_files.h"
#include "emulator/virtual_filter_driver.h"
#include "keys/function_code.h"
#include "macros/driver_macro_list.h"
#include "macros/macro_record.h"
#include "macros/macro_slots.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Bytes [offset, offset + size) of `bytes`, zeros past its end.
template <std::size_t N>
bool SameAsSlice(const std::array<std::uint8_t, N>& got, std::span<const std::uint8_t> bytes,
                 std::size_t offset) {
  for (std::size_t i = 0; i < N; ++i) {
    std::uint8_t want = offset + i < bytes.size() ? bytes[offset + i] : 0;
    if (got[i] != want) return false;
  }
  return true;
}

void FuzzDriverModeFile(std::span<const std::uint8_t> bytes) {
  zelt::DriverModeSections sections = zelt::ParseDriverModeFile(bytes);
  Require(SameAsSlice(sections.section_a, bytes, 0));
  Require(SameAsSlice(sections.section_b, bytes, 48));
  Require(SameAsSlice(sections.profile, bytes, 64));
  Require(SameAsSlice(sections.state.bytes, bytes, 160));
  Require(SameAsSlice(sections.fire_key, bytes, 242));
}

void FuzzMacroPages(std::span<const std::uint8_t> bytes) {
  std::array<std::uint8_t, 1024> pages_a{};
  std::array<std::uint8_t, 512> pages_b{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), pages_a.size()), pages_a.begin());
  if (bytes.size() > pages_a.size()) {
    auto rest = bytes.subspan(pages_a.size());
    std::copy_n(rest.begin(), std::min(rest.size(), pages_b.size()), pages_b.begin());
  }
  zelt::MacroSlots slots;
  slots.ReadAndRefreshMacro(pages_a, pages_b);

  std::array<std::uint8_t, 1024> out_a{};
  std::array<std::uint8_t, 512> out_b{};
  slots.RefreshBaseMacroBuf(out_a, out_b);
  Require(out_b == pages_b);
  for (int k = 1; k <= 4; ++k) {
    const auto& record = slots.slot(k).record;
    const bool dropped = std::all_of(record.begin(), record.end(), [](auto b) { return b == 0; });
    Require(dropped || zelt::MacroRecordChecksumMatches(record, zelt::MacroRecordFormat::kEeprom));
    auto page = std::span(pages_a).subspan(256 * static_cast<std::size_t>(k - 1), 256);
    auto out = std::span(out_a).subspan(256 * static_cast<std::size_t>(k - 1), 256);
    Require(std::equal(page.begin(), page.begin() + 32, out.begin()));
    Require(dropped || std::equal(page.begin() + 32, page.end(), out.begin() + 32));
  }
  for (int k = 1; k <= 6; ++k) {
    const auto& field = slots.slot(k).name_field;
    Require(slots.slot_names()[static_cast<std::size_t>(k - 1)] ==
            (zelt::IsMacroNamePresent(field) ? zelt::DecodeMacroName(field) : ""));
  }
}

void FuzzDriverMacroList(std::span<const std::uint8_t> bytes) {
  // The first 54 bytes are the eighteen button codes, the rest is the driver's memory.
  std::vector<std::string> codes;
  std::size_t at = 0;
  for (; codes.size() < 18 && at + 3 <= bytes.size(); at += 3) {
    codes.push_back(zelt::CodeBytesToText(bytes[at], bytes[at + 1], bytes[at + 2]));
  }
  std::vector<std::uint8_t> memory(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
  zelt::VirtualFilterDriver driver(0x1234, memory);
  auto handle = driver.Open(driver.Enumerate()->front());
  Require(handle != nullptr);

  zelt::DriverMacroList list;
  list.ReadFromDriver(*handle, codes);
  Require(list.elements().size() <= 32);
  Require(list.Names().size() == list.elements().size());
  for (std::size_t b = 0; b < list.elements().size(); ++b) {
    Require(SameAsSlice(list.elements()[b], memory, zelt::kDriverMacroBase + 2048 * b));
  }
  list.WriteToDriver(*handle);
  const std::vector<std::uint8_t> after = driver.memory();
  // The write puts back exactly what was read; memory the driver grew reads as the zeros it was.
  for (std::size_t i = 0; i < std::max(after.size(), memory.size()); ++i) {
    std::uint8_t was = i < memory.size() ? memory[i] : 0;
    std::uint8_t now = i < after.size() ? after[i] : 0;
    Require(was == now);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::span<const std::uint8_t> rest(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      FuzzDriverModeFile(rest);
      break;
    case 1:
      FuzzMacroPages(rest);
      break;
    default:
      FuzzDriverMacroList(rest);
      break;
  }
  return 0;
}
