#pragma once
// State of the single-key dialog: captures one key for a key event of a macro being edited. The
// window forwards key presses and its three buttons here and shows EditText().

#include <cstdint>
#include <optional>
#include <string>

namespace zelt {

struct SingleKeyResult {
  std::string edit_text;  // the key name shown; empty when the edit was cleared
  std::string line;       // key name + " CODE:" + "82" (down) or "02" (up) + two digits of usage
};

class SingleKeyDialog {
 public:
  // Kinds of the macro key event being edited.
  static constexpr int kKeyDown = 1;
  static constexpr int kKeyUp = 2;

  // `event_kind` is kKeyDown or kKeyUp; with any other kind no result line is built.
  explicit SingleKeyDialog(int event_kind) : event_kind_(event_kind) {}

  // Takes the key, replacing the one taken before. Every key is taken, modifiers included.
  void KeyPressed(int virtual_key);

  // Hands back the edit text and the result line and closes; nothing once closed.
  std::optional<SingleKeyResult> Confirm();

  // Empties the edit only: the key taken and the result line stay.
  void Clear();

  // Closes without a result.
  void Close();

  const std::string& EditText() const { return edit_text_; }
  const std::string& ResultLine() const { return line_; }
  bool IsOpen() const { return open_; }

 private:
  int event_kind_;
  bool open_ = true;
  std::string edit_text_;
  std::string key_text_;
  std::uint8_t key_usage_ = 0;
  int keys_taken_ = 0;
  std::string line_;
};

}  // namespace zelt
