#include "keys/combination_key_dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelt {
namespace {

// One user action in the dialog.
struct Step {
  enum Kind { kKey, kKeyWithShift, kKeyWithCtrl, kTick, kUntick, kClear } kind;
  int key = 0;
  ModifierBox box = ModifierBox::kCtrl;
};

Step Key(int virtual_key) { return {Step::kKey, virtual_key}; }
Step ShiftKey(int virtual_key) { return {Step::kKeyWithShift, virtual_key}; }
Step CtrlKey(int virtual_key) { return {Step::kKeyWithCtrl, virtual_key}; }
Step Tick(ModifierBox box) { return {Step::kTick, 0, box}; }
Step Untick(ModifierBox box) { return {Step::kUntick, 0, box}; }
Step Clear() { return {Step::kClear}; }

void Apply(CombinationKeyDialog& dialog, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    switch (step.kind) {
      case Step::kKey:
        dialog.KeyPressed(step.key, {});
        break;
      case Step::kKeyWithShift:
        dialog.KeyPressed(step.key, {.shift = true});
        break;
      case Step::kKeyWithCtrl:
        dialog.KeyPressed(step.key, {.ctrl = true});
        break;
      case Step::kTick:
        dialog.SetBox(step.box, true);
        break;
      case Step::kUntick:
        dialog.SetBox(step.box, false);
        break;
      case Step::kClear:
        dialog.Clear();
        break;
    }
  }
}

constexpr int kA = 0x41;
constexpr int kB = 0x42;
constexpr auto kCtrl = ModifierBox::kCtrl;
constexpr auto kShift = ModifierBox::kShift;
constexpr auto kAlt = ModifierBox::kAlt;
constexpr auto kWin = ModifierBox::kWin;

struct SequenceCase {
  const char* what;
  std::vector<Step> steps;
  const char* edit_text;
  const char* code;
};

TEST(CombinationKeyDialog, SequencesGiveTheEditTextAndCode) {
  const SequenceCase cases[] = {
      {"nothing chosen", {}, "", "020000"},
      {"boxes then key", {Tick(kCtrl), Tick(kShift), Key(kA)}, "Ctrl+Shift+A", "020304"},
      {"boxes in box order", {Tick(kWin), Tick(kShift)}, "Shift+Win", "020A00"},
      {"a new key replaces the old", {Key(kA), Key(kB)}, "B", "020005"},
      {"replaced key keeps the boxes", {Tick(kCtrl), Key(kA), Key(kB)}, "Ctrl+B", "020105"},
      {"tick after key", {Key(kA), Tick(kCtrl)}, "Ctrl+A", "020104"},
      {"untick after tick", {Key(kA), Tick(kCtrl), Untick(kCtrl)}, "A", "020004"},
      {"untick a later modifier",
       {Tick(kCtrl), Tick(kAlt), Key(kA), Untick(kAlt)},
       "Ctrl+A",
       "020104"},
      {"untick the leading modifier",
       {Tick(kCtrl), Tick(kAlt), Key(kA), Untick(kCtrl)},
       "Alt+A",
       "020404"},
      {"untick the only modifier", {Tick(kShift), Untick(kShift)}, "", "020000"},
      {"key after untick", {Key(kA), Tick(kCtrl), Untick(kCtrl), Key(kB)}, "B", "020005"},
      {"modifier alone", {Tick(kCtrl)}, "Ctrl", "020100"},
      {"clear forgets key and boxes",
       {Tick(kShift), Key(kA), Clear(), Tick(kAlt)},
       "Alt",
       "020400"},
      {"a held modifier takes nothing", {ShiftKey(kA)}, "", "020000"},
      {"a held modifier drops the key taken", {Tick(kWin), Key(kA), CtrlKey(kB)}, "Win", "020800"},
      {"Windows keys are refused", {Key(0x5B), Key(0x5C)}, "", "020000"},
      {"modifier keys are refused", {Key(0x10), Key(0x11), Key(0x12), Key(0xA1)}, "", "020000"},
      {"a key without usage", {Key(0xB6)}, "Launch_App1", "020000"},
      {"an unknown key", {Tick(kAlt), Key(0x07)}, "Alt+None", "020400"},
      {"a private usage", {Tick(kWin), Key(0x7C)}, "Win+F13", "020868"},
  };
  for (const SequenceCase& c : cases) {
    CombinationKeyDialog dialog;
    Apply(dialog, c.steps);
    EXPECT_EQ(dialog.EditText(), c.edit_text) << c.what;
    std::optional<CombinationKeyResult> result = dialog.Confirm();
    ASSERT_TRUE(result) << c.what;
    EXPECT_EQ(result->caption, c.edit_text) << c.what;
    EXPECT_EQ(result->code, c.code) << c.what;
  }
}

TEST(CombinationKeyDialog, SettingABoxToItsStateChangesNothing) {
  CombinationKeyDialog dialog;
  Apply(dialog, {Tick(kCtrl), Key(kA), Untick(kShift), Tick(kCtrl)});
  EXPECT_EQ(dialog.EditText(), "Ctrl+A");
  EXPECT_TRUE(dialog.IsTicked(kCtrl));
  EXPECT_FALSE(dialog.IsTicked(kShift));
}

TEST(CombinationKeyDialog, ClearUnticksEveryBox) {
  CombinationKeyDialog dialog;
  Apply(dialog, {Tick(kCtrl), Tick(kShift), Tick(kAlt), Tick(kWin), Key(kA), Clear()});
  EXPECT_EQ(dialog.EditText(), "");
  for (ModifierBox box : {kCtrl, kShift, kAlt, kWin}) EXPECT_FALSE(dialog.IsTicked(box));
}

TEST(CombinationKeyDialog, ConfirmAndCloseEndTheDialog) {
  CombinationKeyDialog confirmed;
  Apply(confirmed, {Key(kA)});
  ASSERT_TRUE(confirmed.Confirm());
  EXPECT_FALSE(confirmed.IsOpen());
  confirmed.KeyPressed(kB, {});
  EXPECT_EQ(confirmed.EditText(), "A");
  EXPECT_EQ(confirmed.Confirm(), std::nullopt);

  CombinationKeyDialog closed;
  Apply(closed, {Key(kA)});
  closed.Close();
  EXPECT_FALSE(closed.IsOpen());
  EXPECT_EQ(closed.Confirm(), std::nullopt);
}

}  // namespace
}  // namespace zelt
