// zeltctl commands about texts: the caption a button function code shows.

#include <cstdio>
#include <optional>

#include "app/language.h"
#include "cli/cli.h"
#include "keys/function_captions.h"
#include "keys/function_code.h"
#include "util/hex.h"

namespace zelt::cli {
namespace {

int Caption(Context&, std::span<const std::string> args) {
  std::optional<std::string> code;
  int language_number = 1;
  for (const auto& arg : args) {
    if (arg.rfind("--lang=", 0) == 0) {
      auto number = ParseNumber(std::string_view(arg).substr(7));
      if (!number || *number < 1 || *number > kBuiltInLanguageCount) {
        return Fail(kExitUsage, "--lang takes 1, 2 or 3");
      }
      language_number = static_cast<int>(*number);
    } else if (!code && arg.rfind("--", 0) != 0) {
      code = arg;
    } else {
      return Fail(kExitUsage, "usage: caption CODE [--lang=N]");
    }
  }
  if (!code || !CodeTextToBytes(*code)) {
    return Fail(kExitUsage, "CODE must be six hexadecimal digits, e.g. 020807");
  }
  auto language = Language::LoadBuiltIn(language_number);
  if (!language) return Fail(kExitFile, "the built-in language file is unreadable");
  std::printf("%s\n", CodeToName(*code, *language).c_str());
  return kExitOk;
}

constexpr Command kCommands[] = {
    {"caption", "CODE [--lang=N]", "the caption of a six-digit function code (language 1..3)",
     Caption},
};

}  // namespace

std::span<const Command> TextCommands() { return kCommands; }

}  // namespace zelt::cli
