#pragma once
// The flow UI of the command line: messages on stderr, a progress bar on stderr when it is a
// terminal (nothing otherwise), no windows.

#include <filesystem>
#include <optional>
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
  void ShowNoDeviceMessage() override;
  void ShowFileError(std::string_view text) override;
  // The file dialogs answer with the file named on the command line.
  std::optional<std::filesystem::path> ChooseProfileToSave() override { return profile_path_; }
  std::optional<std::filesystem::path> ChooseProfileToLoad() override { return profile_path_; }
  void set_profile_path(std::filesystem::path path) { profile_path_ = std::move(path); }

  void set_texts(const StringTable* texts) { texts_ = texts; }
  // Every message shown so far, as string ids.
  const std::vector<std::string>& messages() const { return messages_; }

 private:
  void EndBar();
  void PrintLine(const std::string& text);
  // The text of a language string, or the id itself when the language has none.
  std::string TextOf(std::string_view string_id) const;

  const StringTable* texts_;
  bool terminal_;
  bool bar_open_ = false;
  std::vector<std::string> messages_;
  std::optional<std::filesystem::path> profile_path_;
};

}  // namespace zelt::cli
