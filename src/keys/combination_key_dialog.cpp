#include "keys/combination_key_dialog.h"

#include <string_view>

#include "keys/function_code.h"
#include "keys/key_tables.h"

namespace zelt {
namespace {

struct BoxInfo {
  std::string_view name;
  std::uint8_t bit;
};

// Indexed by ModifierBox; also the order of the names in the edit text.
constexpr std::array<BoxInfo, 4> kBoxes = {{
    {"Ctrl", kModifierCtrl},
    {"Shift", kModifierShift},
    {"Alt", kModifierAlt},
    {"Win", kModifierWin},
}};

bool IsModifierKey(int virtual_key) {
  switch (virtual_key) {
    case 0x10:  // Shift
    case 0x11:  // Ctrl
    case 0x12:  // Alt
    case 0x5B:  // left Windows
    case 0x5C:  // right Windows
    case 0xA0:  // left and right Shift, Ctrl, Alt
    case 0xA1:
    case 0xA2:
    case 0xA3:
    case 0xA4:
    case 0xA5:
      return true;
    default:
      return false;
  }
}

// Removes the first occurrence of `part` from `text`, if any.
void EraseFirst(std::string& text, std::string_view part) {
  std::size_t at = text.find(part);
  if (at != std::string::npos) text.erase(at, part.size());
}

}  // namespace

void CombinationKeyDialog::RebuildModifierText() {
  modifier_text_.clear();
  for (std::size_t i = 0; i < kBoxes.size(); ++i) {
    if (!ticked_[i]) continue;
    if (!modifier_text_.empty()) modifier_text_ += '+';
    modifier_text_ += kBoxes[i].name;
  }
}

std::uint8_t CombinationKeyDialog::ModifierBits() const {
  std::uint8_t bits = 0;
  for (std::size_t i = 0; i < kBoxes.size(); ++i) {
    if (ticked_[i]) bits = static_cast<std::uint8_t>(bits | kBoxes[i].bit);
  }
  return bits;
}

void CombinationKeyDialog::KeyPressed(int virtual_key, HeldModifiers held) {
  if (!open_) return;
  if (keys_taken_ > 0) {
    key_text_.clear();
    RebuildModifierText();
    edit_text_ = modifier_text_;
    keys_taken_ = 0;
    key_usage_ = 0;
  }
  // The modifier keys are held while they are pressed themselves, whatever the caller reports.
  if (IsModifierKey(virtual_key) || held.shift || held.ctrl || held.alt) return;
  key_text_ = std::string(VirtualKeyToName(virtual_key));
  edit_text_ = edit_text_.empty() ? key_text_ : edit_text_ + "+" + key_text_;
  key_usage_ = VirtualKeyToUsage(virtual_key);
  ++keys_taken_;
}

void CombinationKeyDialog::SetBox(ModifierBox box, bool ticked) {
  if (!open_ || ticked_[Index(box)] == ticked) return;
  ticked_[Index(box)] = ticked;
  if (ticked) {
    RebuildModifierText();
    if (key_text_.empty()) {
      edit_text_ = modifier_text_;
    } else if (modifier_text_.empty()) {
      edit_text_ = key_text_;
    } else {
      edit_text_ = modifier_text_ + "+" + key_text_;
    }
    return;
  }
  // Unticking edits the text as shown; the modifier text catches up at the next tick or key.
  if (edit_text_.empty()) return;
  std::string_view name = kBoxes[Index(box)].name;
  if (edit_text_.starts_with(name)) {
    if (edit_text_ == name) {
      edit_text_.clear();
    } else {
      EraseFirst(edit_text_, std::string(name) + "+");
    }
  } else {
    EraseFirst(edit_text_, "+" + std::string(name));
  }
}

std::optional<CombinationKeyResult> CombinationKeyDialog::Confirm() {
  if (!open_) return std::nullopt;
  open_ = false;
  return CombinationKeyResult{edit_text_,
                              CodeBytesToText(kCodeTypeKeyboard, ModifierBits(), key_usage_)};
}

void CombinationKeyDialog::Clear() {
  if (!open_) return;
  edit_text_.clear();
  key_text_.clear();
  modifier_text_.clear();
  key_usage_ = 0;
  keys_taken_ = 0;
  ticked_.fill(false);
}

void CombinationKeyDialog::Close() { open_ = false; }

}  // namespace zelt
