#include "macros/macro_slots.h"

#include <algorithm>

#include "config/config_image.h"
#include "device/device_memory.h"
#include "keys/function_code.h"

namespace zelt {
namespace {

constexpr std::size_t kSlotPageSize = 256;
// The name field sits at the page start, the record right after it.
constexpr std::size_t kRecordOffsetInPage = kMacroNameFieldSize;
// Slots 1..4 have their records checked when rebuilt from an image; 5 and 6 are taken as read.
constexpr int kCheckedSlots = 4;

static_assert(kMacroNameFieldSize + kSlotRecordSize == kSlotPageSize);
static_assert(kMacroSlotAddresses.size() == kMacroSlotCount);

// The macro address a code plays, when it is a macro code ("06" or "0E" + four digits).
std::optional<std::uint16_t> MacroAddressOfCode(std::string_view code) {
  auto bytes = CodeTextToBytes(code);
  if (!bytes) return std::nullopt;
  if ((*bytes)[0] != kCodeTypeMacroToEnd && (*bytes)[0] != kCodeTypeMacroWhileHeld) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>((*bytes)[1] << 8 | (*bytes)[2]);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Letter case is ignored for the ASCII letters; every other character must match exactly.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

// Where slot k (1..6) lies in the page copies: slots 1..4 in copy A, 5 and 6 in copy B.
template <typename Byte>
std::span<Byte> SlotPage(std::span<Byte, 1024> pages_a, std::span<Byte, 512> pages_b, int slot) {
  if (slot <= 4) {
    return pages_a.subspan(kSlotPageSize * static_cast<std::size_t>(slot - 1), kSlotPageSize);
  }
  return pages_b.subspan(kSlotPageSize * static_cast<std::size_t>(slot - 5), kSlotPageSize);
}

}  // namespace

std::optional<int> SlotOfCode(std::string_view code) {
  auto address = MacroAddressOfCode(code);
  if (!address) return std::nullopt;
  auto found = std::find(kMacroSlotAddresses.begin(), kMacroSlotAddresses.end(), *address);
  if (found == kMacroSlotAddresses.end()) return std::nullopt;
  return static_cast<int>(found - kMacroSlotAddresses.begin()) + 1;
}

void MacroSlots::ReadAndRefreshMacro(std::span<const std::uint8_t, 1024> pages_a,
                                     std::span<const std::uint8_t, 512> pages_b) {
  for (int k = 1; k <= kMacroSlotCount; ++k) {
    auto page = SlotPage(pages_a, pages_b, k);
    MacroSlot& entry = slots_[static_cast<std::size_t>(k - 1)];
    std::copy_n(page.begin(), kMacroNameFieldSize, entry.name_field.begin());
    std::copy_n(page.begin() + kRecordOffsetInPage, kSlotRecordSize, entry.record.begin());
    // A record whose checksum does not hold is dropped (the name stays). That includes an empty
    // record and one whose length would put the checksum past the record's end.
    if (k <= kCheckedSlots &&
        !MacroRecordChecksumMatches(entry.record, MacroRecordFormat::kEeprom)) {
      entry.record.fill(0);
    }
  }
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    slot_names_[i] =
        IsMacroNamePresent(slots_[i].name_field) ? DecodeMacroName(slots_[i].name_field) : "";
  }
  loaded_.fill(true);
}

void MacroSlots::RefreshBaseMacroBuf(std::span<std::uint8_t, 1024> pages_a,
                                     std::span<std::uint8_t, 512> pages_b) const {
  for (int k = 1; k <= kMacroSlotCount; ++k) {
    auto page = SlotPage(pages_a, pages_b, k);
    const MacroSlot& entry = slots_[static_cast<std::size_t>(k - 1)];
    std::copy(entry.name_field.begin(), entry.name_field.end(), page.begin());
    std::copy(entry.record.begin(), entry.record.end(), page.begin() + kRecordOffsetInPage);
  }
}

void MacroSlots::ClearSlotNames() { slot_names_.fill(std::string()); }

void MacroSlots::ClearMouseSlotNames() { mouse_slot_names_.fill(std::string()); }

void MacroSlots::DownloadMacroSlots(DeviceLink& link, FlowUi& ui,
                                    std::span<const std::string> codes) const {
  std::array<bool, kMacroSlotCount> write{};
  for (const std::string& code : codes) {
    if (auto slot = SlotOfCode(code)) write[static_cast<std::size_t>(*slot - 1)] = true;
  }
  // A slot holding placeholders has nothing to give; a slot whose mouse name is one of the slot
  // names already holds that macro in the mouse.
  for (std::size_t i = 0; i < write.size(); ++i) {
    if (!loaded_[i]) write[i] = false;
    const std::string& mouse_name = mouse_slot_names_[i];
    if (mouse_name.empty()) continue;
    if (std::any_of(slot_names_.begin(), slot_names_.end(),
                    [&](const std::string& name) { return EqualIgnoringCase(mouse_name, name); })) {
      write[i] = false;
    }
  }
  for (std::size_t i = 0; i < write.size(); ++i) {
    if (!write[i]) continue;
    // The address a code carries is the record's length byte: the record starts one byte before
    // it and the name field 32 bytes before the record. A failed write is not reported.
    const std::uint16_t address = kMacroSlotAddresses[i];
    WriteMemory(link, ui, static_cast<std::uint16_t>(address - 1 - kMacroNameFieldSize),
                static_cast<std::uint16_t>(kMacroNameFieldSize), slots_[i].name_field);
    WriteMemory(link, ui, static_cast<std::uint16_t>(address - 1),
                static_cast<std::uint16_t>(kSlotRecordSize), slots_[i].record);
  }
}

}  // namespace zelt
