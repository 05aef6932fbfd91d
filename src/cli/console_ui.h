#pragma once
// The flow UI of the command line: messages on stderr, a progress bar on stderr when it is a
// terminal (nothing otherwise), no windows.

#include <string>
#include <vector>

#include "device/flow_ui.h"
#include "util/string_table.h"

namespace zelt::cli {

class ConsoleUi final : public FlowUi {
 public:
  explicit ConsoleUi(const StringTable* texts = nullptr);
  void ReportProgress(unsigned done, unsigned total) override;
  void HideProgress() override;
  void ShowMessage(std::string_view string_id) override;

  void set_texts(const StringTable* texts) { texts_ = texts; }
  // Every message shown so far, as string ids.
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  void EndBar();

  const StringTable* texts_;
  bool terminal_;
  bool bar_open_ = false;
  std::vector<std::string> messages_;
};

}  // namespace zelt::cli
