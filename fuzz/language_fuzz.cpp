// Feeds arbitrary bytes to the language reader as a language file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "app/language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // The first byte picks the section, so every section name gets exercised.
  const int number = size > 0 ? 1 + data[0] % 3 : 1;
  const zelt::Language language = zelt::Language::FromBytes(bytes, number);

  // Reading every key a caller reads must be safe whatever the file held.
  language.FontName();
  language.FontFile();
  language.Title();
  for (int id = 0; id <= 861; ++id) language.Text(zelt::LanguageStringId(id));

  // The reverse lookup of one of the file's own texts must find an id whose text it is.
  const std::string text = language.Text("Str401");
  const std::array<const zelt::Language*, 1> languages = {&language};
  const std::string id = zelt::FindStringId(text, languages);
  if (!id.empty() && language.Text(id) != text) __builtin_trap();
  return 0;
}
