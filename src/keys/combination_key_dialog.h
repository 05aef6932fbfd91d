#pragma once
// State of the combination-key dialog: up to four modifiers chosen with check boxes plus one key
// typed on the keyboard, giving a keyboard function code (type 0x02) for a button. The window
// forwards key presses, box clicks and its three buttons here and shows EditText() and the boxes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zelt {

enum class ModifierBox { kCtrl, kShift, kAlt, kWin };

// The keyboard's modifier state when a key is pressed.
struct HeldModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

struct CombinationKeyResult {
  std::string caption;  // the edit text, shown as the button's caption
  std::string code;     // "02" + two digits of the modifier bits + two digits of the key usage
};

class CombinationKeyDialog {
 public:
  // A key pressed in the edit. A new key replaces the one taken before. The Windows keys, the
  // modifier keys themselves and any key pressed with Shift, Ctrl or Alt held are swallowed:
  // modifiers are chosen with the boxes only.
  void KeyPressed(int virtual_key, HeldModifiers held);

  // A box clicked. Ticking rebuilds the edit from the boxes and the key; unticking removes that
  // modifier's name from the edit text. Setting a box to the state it has changes nothing.
  void SetBox(ModifierBox box, bool ticked);

  // Builds the result from the boxes and the key and closes. Nothing once the dialog is closed.
  std::optional<CombinationKeyResult> Confirm();

  // Empties the edit, forgets the key and unticks every box.
  void Clear();

  // Closes without a result.
  void Close();

  const std::string& EditText() const { return edit_text_; }
  bool IsTicked(ModifierBox box) const { return ticked_[Index(box)]; }
  bool IsOpen() const { return open_; }

 private:
  static std::size_t Index(ModifierBox box) { return static_cast<std::size_t>(box); }
  void RebuildModifierText();
  std::uint8_t ModifierBits() const;

  bool open_ = true;
  std::array<bool, 4> ticked_{};  // Ctrl, Shift, Alt, Win
  std::string edit_text_;
  std::string key_text_;       // name of the key taken, empty when none
  std::string modifier_text_;  // names of the ticked boxes joined by "+"
  std::uint8_t key_usage_ = 0;
  int keys_taken_ = 0;
};

}  // namespace zelt
