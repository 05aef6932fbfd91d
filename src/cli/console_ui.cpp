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

void ConsoleUi::PrintLine(const std::string& text) {
  EndBar();
  std::fprintf(stderr, "zeltctl: %s\n", text.c_str());
}

std::string ConsoleUi::TextOf(std::string_view string_id) const {
  std::string text = texts_ ? texts_->Text(string_id) : std::string();
  return text.empty() ? std::string(string_id) : text;
}

void ConsoleUi::ShowMessage(std::string_view string_id) {
  messages_.emplace_back(string_id);
  PrintLine(TextOf(string_id));
}

void ConsoleUi::ShowNoDeviceMessage() {
  messages_.emplace_back("Str100");
  messages_.emplace_back("Str101");
  PrintLine(TextOf("Str100") + "\n\n" + TextOf("Str101"));
}

void ConsoleUi::ShowFileError(std::string_view text) {
  messages_.emplace_back("file error");
  PrintLine(std::string(text));
}

}  // namespace zelt::cli
