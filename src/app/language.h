#pragma once
// Language files: a font, an application title and numbered strings ("Str" and three digits),
// stored as UTF-16 little-endian text in which every token is one INI line.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/ini_document.h"
#include "util/string_table.h"

namespace zelt {

inline constexpr int kBuiltInLanguageCount = 3;

// The text of a language file as UTF-8: UTF-16 little endian, with or without the byte-order
// mark FF FE. Unpaired surrogates become U+FFFD; a trailing odd byte is dropped.
std::string DecodeLanguageBytes(std::span<const std::uint8_t> bytes);

// Splits language text into tokens at white space (bytes up to 0x20: spaces, tabs, line breaks,
// other control characters). A token that begins with a double quote runs to the matching
// closing quote, may hold white space, and reads two double quotes inside as one; the quotes are
// removed, and one that is never closed runs to the end of the text. The next token begins right
// after the closing quote. Any other token ends at the next white space, quotes and all.
std::vector<std::string> TokenizeLanguageText(std::string_view text);

// "Str" followed by `number` in three digits ("Str007").
std::string LanguageStringId(int number);

class Language final : public StringTable {
 public:
  // A language with no texts: every lookup is empty.
  Language() = default;

  // Reads a language file; `number` (1 to 3) chooses its section, "lang1" to "lang3".
  static Language FromBytes(std::span<const std::uint8_t> bytes, int number);
  // The built-in language `number` (1 to 3); nothing for any other number.
  static std::optional<Language> LoadBuiltIn(int number);

  int Number() const { return number_; }

  // The value of any key of the language's section, the empty text when absent. Key names are
  // matched without regard to ASCII case.
  std::string Read(std::string_view key) const;
  // The value of the key when the section defines it (an empty value counts), else nothing.
  std::optional<std::string_view> Find(std::string_view key) const;

  // The numbered string `string_id` ("Str210"), the empty text when the language has none.
  std::string Text(std::string_view string_id) const override { return Read(string_id); }

  std::string FontName() const { return Read("FontName"); }
  // A font file to register before the font is used; empty for none.
  std::string FontFile() const { return Read("FontFile"); }
  // The application (taskbar) title.
  std::string Title() const { return Read("Title"); }

 private:
  int number_ = 0;
  std::string section_;
  IniDocument ini_;
};

// The string id whose text equals `text` exactly (case-sensitive), searching the languages in the
// given order and, in each, the ids formed as "Str" and a number from 0 to 700 written without
// leading zeros; the last match wins. Because of how the ids are formed, only ids 100 to 700 can
// be found. Keys a language does not define never match. Empty when nothing matches.
std::string FindStringId(std::string_view text, std::span<const Language* const> languages);
// The same over the three built-in languages, 1 to 3 in that order.
std::string FindStringIdInBuiltInLanguages(std::string_view text);

}  // namespace zelt
