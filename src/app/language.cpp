#include "app/language.h"

#include <array>

#include "util/embedded_resources.h"
#include "util/utf16.h"

namespace zelt {
namespace {

constexpr int kLastReverseLookupNumber = 700;

bool IsTokenSpace(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::string DecodeLanguageBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) bytes = bytes.subspan(2);
  return Utf16LeBytesToUtf8(bytes);
}

std::vector<std::string> TokenizeLanguageText(std::string_view text) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (true) {
    while (i < n && IsTokenSpace(text[i])) ++i;
    if (i >= n) break;
    std::string token;
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            token.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        token.push_back(text[i++]);
      }
    } else {
      const std::size_t start = i;
      while (i < n && !IsTokenSpace(text[i])) ++i;
      token.assign(text.substr(start, i - start));
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::string LanguageStringId(int number) {
  std::string digits = std::to_string(number);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return "Str" + digits;
}

Language Language::FromBytes(std::span<const std::uint8_t> bytes, int number) {
  Language language;
  language.number_ = number;
  language.section_ = "lang" + std::to_string(number);
  language.ini_ = IniDocument::FromLines(TokenizeLanguageText(DecodeLanguageBytes(bytes)));
  return language;
}

std::optional<Language> Language::LoadBuiltIn(int number) {
  if (number < 1 || number > kBuiltInLanguageCount) return std::nullopt;
  const auto bytes = FindEmbeddedResource("lang" + std::to_string(number) + ".ini");
  if (!bytes) return std::nullopt;
  return FromBytes(*bytes, number);
}

std::string Language::Read(std::string_view key) const { return ini_.Read(section_, key); }

std::optional<std::string_view> Language::Find(std::string_view key) const {
  return ini_.Find(section_, key);
}

std::string FindStringId(std::string_view text, std::span<const Language* const> languages) {
  std::string found;
  for (const Language* language : languages) {
    if (language == nullptr) continue;
    for (int i = 0; i <= kLastReverseLookupNumber; ++i) {
      std::string key = "Str" + std::to_string(i);
      const auto value = language->Find(key);
      if (value && *value == text) found = std::move(key);
    }
  }
  return found;
}

std::string FindStringIdInBuiltInLanguages(std::string_view text) {
  // Parsed once; the built-in files never change while the program runs.
  static const std::array<Language, kBuiltInLanguageCount> languages = [] {
    std::array<Language, kBuiltInLanguageCount> loaded;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
      loaded[i] = Language::LoadBuiltIn(static_cast<int>(i) + 1).value_or(Language());
    }
    return loaded;
  }();
  const std::array<const Language*, kBuiltInLanguageCount> pointers = {&languages[0], &languages[1],
                                                                       &languages[2]};
  return FindStringId(text, pointers);
}

}  // namespace zelt
