#include "app/ini_document.h"

namespace zelt {
namespace {

bool IsIniSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The section's length leads, so no choice of names can make two pairs collide.
std::string IndexKey(std::string_view section, std::string_view key) {
  std::string out = std::to_string(section.size());
  out.push_back(':');
  for (char c : section) out.push_back(LowerAscii(c));
  for (char c : key) out.push_back(LowerAscii(c));
  return out;
}

}  // namespace

std::string_view TrimIniSpace(std::string_view text) {
  while (!text.empty() && IsIniSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

IniDocument IniDocument::FromLines(std::span<const std::string> lines) {
  IniDocument doc;
  doc.lines_.reserve(lines.size());
  for (const std::string& line : lines) doc.Add(line);
  return doc;
}

IniDocument IniDocument::FromText(std::string_view text) {
  IniDocument doc;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
    doc.Add(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return doc;
}

void IniDocument::Add(std::string_view raw_line) {
  Line line;
  line.number = lines_.size() + 1;
  const std::string_view text = TrimIniSpace(raw_line);
  const std::size_t equals = text.find('=');
  if (text.empty()) {
    line.kind = LineKind::kBlank;
  } else if (text.front() == ';') {
    line.kind = LineKind::kComment;
  } else if (text.starts_with("//")) {
    line.kind = LineKind::kNote;
  } else if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    line.kind = LineKind::kSection;
    current_section_ = std::string(TrimIniSpace(text.substr(1, text.size() - 2)));
  } else if (equals != std::string_view::npos && !TrimIniSpace(text.substr(0, equals)).empty()) {
    line.kind = LineKind::kKey;
    line.name = std::string(TrimIniSpace(text.substr(0, equals)));
    line.value = std::string(TrimIniSpace(text.substr(equals + 1)));
    keys_.try_emplace(IndexKey(current_section_, line.name), lines_.size());
  } else {
    line.kind = LineKind::kBare;
    line.name = std::string(text);
  }
  line.section = current_section_;
  lines_.push_back(std::move(line));
}

std::optional<std::string_view> IniDocument::Find(std::string_view section,
                                                  std::string_view key) const {
  const auto it = keys_.find(IndexKey(section, key));
  if (it == keys_.end()) return std::nullopt;
  return std::string_view(lines_[it->second].value);
}

std::string IniDocument::Read(std::string_view section, std::string_view key) const {
  return std::string(Find(section, key).value_or(std::string_view()));
}

}  // namespace zelt
