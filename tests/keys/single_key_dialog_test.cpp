#include "keys/single_key_dialog.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelt {
namespace {

struct SingleKeyCase {
  int event_kind;
  std::vector<int> keys;
  const char* edit_text;
  const char* line;
};

TEST(SingleKeyDialog, TakesTheLastKeyForTheEventKind) {
  const SingleKeyCase cases[] = {
      {SingleKeyDialog::kKeyDown, {0x41}, "A", "A CODE:8204"},
      {SingleKeyDialog::kKeyUp, {0x41}, "A", "A CODE:0204"},
      {SingleKeyDialog::kKeyDown, {0x41, 0x42}, "B", "B CODE:8205"},
      // modifiers are keys like any other here
      {SingleKeyDialog::kKeyDown, {0x10}, "Shift", "Shift CODE:82E1"},
      {SingleKeyDialog::kKeyUp, {0x5B}, "Left Windows", "Left Windows CODE:02E3"},
      {SingleKeyDialog::kKeyDown, {0xB6}, "Launch_App1", "Launch_App1 CODE:8200"},
      {SingleKeyDialog::kKeyDown, {0xAF}, "Volume_Up", "Volume_Up CODE:82C5"},
      // another event kind shows the key but builds no line
      {3, {0x41}, "A", ""},
      {SingleKeyDialog::kKeyDown, {}, "", ""},
  };
  for (const SingleKeyCase& c : cases) {
    SingleKeyDialog dialog(c.event_kind);
    for (int key : c.keys) dialog.KeyPressed(key);
    EXPECT_EQ(dialog.EditText(), c.edit_text) << c.line;
    std::optional<SingleKeyResult> result = dialog.Confirm();
    ASSERT_TRUE(result);
    EXPECT_EQ(result->edit_text, c.edit_text);
    EXPECT_EQ(result->line, c.line);
  }
}

TEST(SingleKeyDialog, ClearEmptiesOnlyTheEdit) {
  SingleKeyDialog dialog(SingleKeyDialog::kKeyDown);
  dialog.KeyPressed(0x41);
  dialog.Clear();
  EXPECT_EQ(dialog.EditText(), "");
  EXPECT_EQ(dialog.ResultLine(), "A CODE:8204");

  dialog.KeyPressed(0x42);
  EXPECT_EQ(dialog.EditText(), "B");
  dialog.Clear();
  std::optional<SingleKeyResult> result = dialog.Confirm();
  ASSERT_TRUE(result);
  EXPECT_EQ(result->edit_text, "");  // the editor leaves the macro alone for an empty edit
  EXPECT_EQ(result->line, "B CODE:8205");
}

TEST(SingleKeyDialog, ConfirmAndCloseEndTheDialog) {
  SingleKeyDialog confirmed(SingleKeyDialog::kKeyDown);
  confirmed.KeyPressed(0x41);
  ASSERT_TRUE(confirmed.Confirm());
  confirmed.KeyPressed(0x42);
  EXPECT_EQ(confirmed.EditText(), "A");
  EXPECT_EQ(confirmed.Confirm(), std::nullopt);

  SingleKeyDialog closed(SingleKeyDialog::kKeyUp);
  closed.KeyPressed(0x41);
  closed.Close();
  EXPECT_FALSE(closed.IsOpen());
  EXPECT_EQ(closed.Confirm(), std::nullopt);
}

}  // namespace
}  // namespace zelt
