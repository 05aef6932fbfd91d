#pragma once
// The INI reading shared by the settings text, the language files and the skin layout files.
//
// Every input line is trimmed of white space and control characters, then it is one of: empty; a
// comment (begins with ";"); a note (begins with "//", never a key even when it holds "="); a
// section header ("[name]"); a key line (name, "=", value; the name is what comes before the
// first "=", both sides trimmed); or a bare word that defines nothing anyone reads. Section and key
// names are matched without regard to ASCII case, and the first definition of a key in a section
// is the one that counts.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelt {

class IniDocument {
 public:
  enum class LineKind { kBlank, kComment, kNote, kSection, kKey, kBare };

  struct Line {
    LineKind kind = LineKind::kBlank;
    // For a section header its name; for any other line the name of the section it lies in
    // (empty before the first header).
    std::string section;
    // The key name of a key line; the trimmed text of a bare line.
    std::string name;
    // The value of a key line.
    std::string value;
    // Position in the input, from 1.
    std::size_t number = 0;
  };

  IniDocument() = default;

  // One INI line per element (the language files make every token a line).
  static IniDocument FromLines(std::span<const std::string> lines);
  // Text split at line breaks (CR LF, LF or CR).
  static IniDocument FromText(std::string_view text);

  // The value of the first definition of `key` in `section`, or nothing.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  // The same, with an absent key read as the empty text.
  std::string Read(std::string_view section, std::string_view key) const;

  const std::vector<Line>& Lines() const { return lines_; }

 private:
  void Add(std::string_view raw_line);

  std::vector<Line> lines_;
  std::string current_section_;
  // Lower-cased section and key names to the index of the defining line in `lines_`.
  std::unordered_map<std::string, std::size_t> keys_;
};

// Removes white space and control characters (bytes up to 0x20) from both ends.
std::string_view TrimIniSpace(std::string_view text);

// ASCII case-insensitive equality.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zelt
