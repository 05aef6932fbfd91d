#include "keys/single_key_dialog.h"

#include "keys/function_code.h"
#include "keys/key_tables.h"

namespace zelt {

void SingleKeyDialog::KeyPressed(int virtual_key) {
  if (!open_) return;
  if (keys_taken_ > 0) {
    key_text_.clear();
    edit_text_.clear();
    keys_taken_ = 0;
    key_usage_ = 0;
  }
  key_text_ = std::string(VirtualKeyToName(virtual_key));
  edit_text_ = key_text_;
  key_usage_ = VirtualKeyToUsage(virtual_key);
  ++keys_taken_;
  // The event byte of a key event: 0x82 for a key going down, 0x02 for a key going up.
  if (event_kind_ == kKeyDown) {
    line_ = key_text_ + " CODE:82" + HexByteText(key_usage_);
  } else if (event_kind_ == kKeyUp) {
    line_ = key_text_ + " CODE:02" + HexByteText(key_usage_);
  }
}

std::optional<SingleKeyResult> SingleKeyDialog::Confirm() {
  if (!open_) return std::nullopt;
  open_ = false;
  return SingleKeyResult{edit_text_, line_};
}

void SingleKeyDialog::Clear() {
  if (open_) edit_text_.clear();
}

void SingleKeyDialog::Close() { open_ = false; }

}  // namespace zelt
