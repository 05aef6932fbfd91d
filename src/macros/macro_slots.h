#pragma once
// The six macro slots of the mouse's memory as the editor keeps them: each a 32-byte name field
// and a 224-byte record, rebuilt from the image's macro pages and written back slot by slot.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "device/device_link.h"
#include "device/flow_ui.h"
#include "macros/macro_name_field.h"
#include "macros/macro_record.h"

namespace zelt {

inline constexpr int kMacroSlotCount = 6;
inline constexpr std::size_t kSlotRecordSize = kEepromMacroRecordSize;

struct MacroSlot {
  std::array<std::uint8_t, kMacroNameFieldSize> name_field{};
  std::array<std::uint8_t, kSlotRecordSize> record{};
};

// The slot (1..6) whose address a button code plays, when the code is a slot macro code ("06" or
// "0E" + one of the slot addresses).
std::optional<int> SlotOfCode(std::string_view code);

class MacroSlots {
 public:
  const MacroSlot& slot(int slot) const { return slots_.at(slot - 1); }  // 1..6
  // The decoded slot names as the hidden slot name list shows them (empty for an empty field).
  const std::array<std::string, kMacroSlotCount>& slot_names() const { return slot_names_; }
  // Names found in the mouse's slots when a caption needed them; empty until then.
  const std::array<std::string, kMacroSlotCount>& mouse_slot_names() const {
    return mouse_slot_names_;
  }
  void SetMouseSlotName(int slot, std::string name) {
    mouse_slot_names_.at(slot - 1) = std::move(name);
  }

  // Rebuilds the slots from the macro page copies (slots 1..4 in `pages_a`, 5..6 in `pages_b`),
  // empties the record of slots 1..4 whose checksum is wrong (the name stays), and refreshes the
  // slot name list.
  void ReadAndRefreshMacro(std::span<const std::uint8_t, 1024> pages_a,
                           std::span<const std::uint8_t, 512> pages_b);
  // The slots no longer hold the mouse's macros (the pages they were rebuilt from are built-in
  // placeholders): until a slot is rebuilt from the mouse's pages again, or filled by an
  // assignment, the macro step leaves it alone in the mouse.
  void ForgetMouseContents() { loaded_.fill(false); }
  // Copies the slots back into the macro page copies.
  void RefreshBaseMacroBuf(std::span<std::uint8_t, 1024> pages_a,
                           std::span<std::uint8_t, 512> pages_b) const;
  // Empties the slot name list (the slots keep their bytes).
  void ClearSlotNames();
  void ClearMouseSlotNames();

  // The macro step of an apply: writes name field and record of every slot some button code uses,
  // in slot order, except slots whose mouse slot name equals (ignoring case) one of the slot
  // names and slots whose contents are placeholders, so a slot never read is not overwritten.
  // `codes` are the eighteen button codes of both key modes.
  void DownloadMacroSlots(DeviceLink& link, FlowUi& ui, std::span<const std::string> codes) const;

 private:
  std::array<MacroSlot, kMacroSlotCount> slots_{};
  std::array<std::string, kMacroSlotCount> slot_names_{};
  std::array<std::string, kMacroSlotCount> mouse_slot_names_{};
  std::array<bool, kMacroSlotCount> loaded_{};  // the slot holds real contents
};

}  // namespace zelt
