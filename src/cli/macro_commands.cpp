// zeltctl commands that turn macro records into event lines and back, without a mouse.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "keys/key_tables.h"
#include "macros/event_line.h"
#include "macros/macro_record.h"
#include "util/hex.h"

namespace zelt::cli {
namespace {

// Decoded key lines carry the name of their key.
const UsageNameFn kUsageName = [](std::uint8_t usage) { return std::string(UsageToName(usage)); };

std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlank = " \t\r\n";
  std::size_t begin = text.find_first_not_of(kBlank);
  if (begin == std::string_view::npos) return {};
  std::size_t end = text.find_last_not_of(kBlank);
  return text.substr(begin, end - begin + 1);
}

std::string HexByte(std::uint8_t byte) {
  std::vector<std::uint8_t> one{byte};
  return FormatHexBytes(one);
}

std::string RepeatText(const MacroRepeat& repeat) {
  switch (repeat.kind) {
    case MacroRepeatKind::kCount:
      return std::to_string(repeat.count);
    case MacroRepeatKind::kEndless:
      return "endless";
    case MacroRepeatKind::kNone:
      break;
  }
  return "none";
}

std::string ChecksumText(std::span<const std::uint8_t> record, MacroRecordFormat format) {
  auto expected = ComputeMacroRecordChecksum(record, format);
  if (!expected) return "checksum outside the record";
  if (MacroRecordChecksumMatches(record, format)) return "checksum ok";
  auto length = MacroRecordLength(record, format);
  std::size_t position = (format == MacroRecordFormat::kEeprom ? 1 : 2) + *length;
  return "checksum wrong (stored " + HexByte(record[position]) + ", expected " +
         HexByte(*expected) + ")";
}

int MacroLines(Context&, std::span<const std::string> args) {
  MacroRecordFormat format = MacroRecordFormat::kEeprom;
  std::string hex;
  for (const auto& arg : args) {
    if (arg == "--driver") {
      format = MacroRecordFormat::kDriver;
    } else if (arg.rfind("--", 0) == 0) {
      return Fail(kExitUsage, "macro-lines: unknown option " + arg);
    } else {
      if (!hex.empty()) hex += ' ';
      hex += arg;
    }
  }
  if (hex.empty()) return Fail(kExitUsage, "macro-lines: give the record as hexadecimal bytes");
  auto bytes = ParseHexBytes(hex);
  if (!bytes) {
    return Fail(kExitUsage, "macro-lines: the record is not pairs of hexadecimal digits");
  }
  std::size_t size = MacroRecordSize(format);
  if (bytes->size() > size) {
    return Fail(kExitUsage, "macro-lines: " + std::to_string(bytes->size()) +
                                " bytes given; a record holds " + std::to_string(size) +
                                (format == MacroRecordFormat::kEeprom ? " (--driver: 2016)" : ""));
  }
  bytes->resize(size, 0);  // a short record is zero-filled, as the utility stores records

  DecodedMacro macro = DecodeMacroRecord(*bytes, format, kUsageName);
  std::string out;
  if (macro.empty) {
    out += "# empty record\n";
  } else {
    out += "# stop mode " + std::to_string(macro.stop_mode) + ", repeat " +
           RepeatText(macro.repeat) + ", " + ChecksumText(*bytes, format) + "\n";
    for (const auto& line : macro.lines) out += line + "\n";
    for (std::size_t row = 0; row + 1 < macro.lines.size(); ++row) {
      MacroContentRow content = ContentRowForLine(macro.lines[row + 1]);
      std::string icon = content.icon ? std::to_string(static_cast<int>(*content.icon)) : "-";
      out += "# row " + std::to_string(row) + ", icon " + icon + ": " + content.text + "\n";
    }
  }
  if (!macro.complete) out += "# decoding stopped: " + macro.problem + "\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  return kExitOk;
}

int MacroRecord(Context&, std::span<const std::string> args) {
  MacroRecordFormat format = MacroRecordFormat::kEeprom;
  MacroAttributes attributes;
  for (const auto& arg : args) {
    std::string_view text = arg;
    if (text == "--driver") {
      format = MacroRecordFormat::kDriver;
    } else if (text == "--stop=0" || text == "--stop=1") {
      attributes.stop_mode = text.back() == '1' ? kStopOnRelease : kStopAfterMacro;
    } else if (text.rfind("--stop=", 0) == 0) {
      return Fail(kExitUsage, "macro-record: --stop is 0 or 1");
    } else if (text.rfind("--repeat=", 0) == 0) {
      std::string_view value = text.substr(9);
      if (value == "none") {
        attributes.repeat = {};
      } else if (value == "endless") {
        attributes.repeat = {MacroRepeatKind::kEndless, 0};
      } else {
        auto count = ParseNumber(value);
        if (!count || *count < 1 || *count > 255) {
          return Fail(kExitUsage,
                      "macro-record: --repeat is none, a count from 1 to 255 or endless");
        }
        attributes.repeat = {MacroRepeatKind::kCount, static_cast<int>(*count)};
      }
    } else {
      return Fail(kExitUsage, "macro-record: unexpected argument " + arg +
                                  " (the event lines come from standard input)");
    }
  }

  std::vector<std::string> lines;
  std::string input;
  for (int number = 1; std::getline(std::cin, input); ++number) {
    std::string_view line = Trim(input);
    if (line.empty() || line[0] == '#') continue;
    std::string where = "macro-record: line " + std::to_string(number) + ": ";
    if (lines.empty()) {
      if (line.find(' ') == std::string_view::npos) {
        if (!ParseDelayModeLine(line)) {
          return Fail(kExitUsage, where + "\"" + std::string(line) +
                                      "\" is no delay-mode line (00, 01 and milliseconds, or 10)");
        }
        lines.emplace_back(line);
        continue;
      }
      lines.emplace_back("00");
    }
    std::string reason;
    if (!EventLineBytes(line, &reason)) return Fail(kExitUsage, where + reason);
    lines.emplace_back(line);
  }
  if (std::cin.bad()) return Fail(kExitFile, "macro-record: standard input could not be read");

  std::string error;
  auto record = EncodeMacroLines(lines, attributes, format, &error);
  if (!record) return Fail(kExitUsage, "macro-record: " + error);
  std::string out = FormatHexBytes(*record) + "\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  return kExitOk;
}

const Command kMacroCommands[] = {
    {"macro-lines", "[--driver] HEX",
     "decode a hex macro record (zero-filled to size) into event lines", MacroLines},
    {"macro-record", "[--driver] [--stop=0|1] [--repeat=none|N|endless]",
     "encode event lines from standard input into a record", MacroRecord},
};

}  // namespace

std::span<const Command> MacroCommands() { return kMacroCommands; }

}  // namespace zelt::cli
