#include "cli/console_ui.h"

#include <unistd.h>

#include <cstdio>

namespace zelt::cli {

ConsoleUi::ConsoleUi(const StringTable* texts) : texts_(texts), terminal_(isatty(2) == 1) {}

void ConsoleUi::ReportProgress(unsigned done, unsigned total) {
  if (!terminal_ || total == 0) return;
  constexpr unsigned kWidth = 40;
  const unsigned filled = done * kWidth / total;
  std::fprintf(stderr, "\r[%s%s] %3u%%", std::string(filled, '#').c_str(),
               std::string(kWidth - filled, ' ').c_str(), done * 100 / total);
  std::fflush(stderr);
  bar_open_ = done < total;
  if (!bar_open_) std::fputs("\n", stderr);
}

void ConsoleUi::HideProgress() { EndBar(); }

void ConsoleUi::EndBar() {
  if (!bar_open_) return;
  std::fputs("\n", stderr);
  bar_open_ = false;
}

void ConsoleUi::ShowMessage(std::string_view string_id) {
  EndBar();
  messages_.emplace_back(string_id);
  std::string text = texts_ ? texts_->Text(string_id) : std::string();
  if (text.empty()) text = std::string(string_id);
  std::fprintf(stderr, "zeltctl: %s\n", text.c_str());
}

}  // namespace zelt::cli
