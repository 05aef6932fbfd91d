#pragma once
// Texts of the engineer page: a fixed table of 139 entries in English and Chinese, the column
// chosen by the system locale rather than by the current language.

#include <cstdint>
#include <string_view>

namespace zelt {

enum class EngineerTextColumn { kEnglish, kChinese };

inline constexpr int kEngineerTextCount = 139;
// The font of the engineer page's captions, whichever column is shown.
inline constexpr std::string_view kEngineerFontName = "MS Sans Serif";
// Locale id of Chinese (PRC), the one locale that shows the Chinese column.
inline constexpr std::uint32_t kLocaleChinesePrc = 2052;

// Chinese for locale id 2052, English for every other id.
EngineerTextColumn EngineerTextColumnForLocale(std::uint32_t locale_id);

// Text `number` (0 to 138) of the column as UTF-8; empty for a number outside the table.
std::string_view EngineerText(int number, EngineerTextColumn column);

// The numeric locale id of a POSIX locale name such as "zh_CN.UTF-8" or "en_US@euro": 2052 for
// zh_CN (and for plain "zh", whose usual territory it is), the ids of a few other common locales,
// and 0 for any other name, "C" and "POSIX" included.
std::uint32_t LocaleIdFromPosixName(std::string_view name);

// The locale id of the messages locale of this process: the first set and non-empty one of
// LC_ALL, LC_MESSAGES and LANG.
std::uint32_t LocaleIdFromEnvironment();

}  // namespace zelt
