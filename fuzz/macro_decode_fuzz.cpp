// Feeds outside bytes to the macro codec: records and name fields as a library file, an import
// or the mouse would hand them over, and event-line text as zeltctl reads it. Besides running
// under the address checks it holds the codec to its promises: whatever decodes, encodes again
// to a readable record with the same events and the same total delay.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macros/event_line.h"
#include "macros/macro_name_field.h"
#include "macros/macro_record.h"

namespace {

using zelt::DecodedMacro;
using zelt::MacroRecordFormat;

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string KeyName(std::uint8_t usage) { return usage % 2 ? "K" : "Space bar"; }

// The non-delay lines in order, and the sum of the delays.
struct Summary {
  std::vector<std::string> events;
  std::uint64_t delay_ms = 0;
  bool operator==(const Summary&) const = default;
};

Summary Summarise(const std::vector<std::string>& lines) {
  Summary summary;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i][0] == '0') {
      summary.delay_ms += std::stoull(lines[i].substr(2));
    } else {
      summary.events.push_back(lines[i]);
    }
  }
  return summary;
}

void CheckDecoded(const DecodedMacro& macro, MacroRecordFormat format) {
  if (macro.empty) {
    Require(macro.lines.empty());
    return;
  }
  Require(!macro.lines.empty());
  Require(zelt::ParseDelayModeLine(macro.lines[0]).has_value());
  for (std::size_t i = 1; i < macro.lines.size(); ++i) {
    Require(zelt::EventLineBytes(macro.lines[i]).has_value());
    Require(zelt::ContentRowForLine(macro.lines[i]).icon.has_value());
  }
  std::string error;
  auto record =
      zelt::EncodeMacroLines(macro.lines, {zelt::kStopAfterMacro, macro.repeat}, format, &error);
  if (!record) {
    // Only the size limit may refuse lines the decoder wrote.
    Require(error.find("event bytes") != std::string::npos);
    return;
  }
  Require(record->size() == zelt::MacroRecordSize(format));
  DecodedMacro again = zelt::DecodeMacroRecord(*record, format, KeyName);
  Require(again.lines.empty() || again.complete);
  Require(again.lines.empty() || zelt::MacroRecordChecksumMatches(*record, format));
  if (!again.lines.empty()) Require(Summarise(again.lines) == Summarise(macro.lines));
}

void FuzzRecord(std::span<const std::uint8_t> bytes, MacroRecordFormat format) {
  DecodedMacro macro = zelt::DecodeMacroRecord(bytes, format, KeyName);
  CheckDecoded(macro, format);
  (void)zelt::MacroScriptText(bytes, format);
  (void)zelt::MacroRecordChecksumMatches(bytes, format);
  (void)zelt::ReadMacroRepeat(bytes, format);

  // The same bytes as a name field: whatever name comes out can be stored again.
  std::string name = zelt::DecodeMacroName(bytes);
  auto field = zelt::EncodeMacroName(name);
  Require(field.has_value());
  Require(zelt::DecodeMacroName(*field) == name);
  (void)zelt::IsMacroNamePresent(bytes);
}

void FuzzText(std::string_view text, MacroRecordFormat format, std::uint8_t selector) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  for (const auto& line : lines) {
    (void)zelt::EventLineBytes(line);
    (void)zelt::ParseDelayModeLine(line);
    (void)zelt::ContentRowForLine(line);
  }
  zelt::MacroAttributes attributes;
  attributes.stop_mode = static_cast<std::uint8_t>((selector >> 2) & 1);
  attributes.repeat.kind = static_cast<zelt::MacroRepeatKind>((selector >> 3) % 3);
  attributes.repeat.count = selector >> 5 ? selector : 1;
  auto record = zelt::EncodeMacroLines(lines, attributes, format);
  if (record) {
    Require(record->size() == zelt::MacroRecordSize(format));
    CheckDecoded(zelt::DecodeMacroRecord(*record, format, KeyName), format);
  }
  if (auto field = zelt::EncodeMacroName(text)) Require(zelt::DecodeMacroName(*field) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t selector = data[0];
  std::span<const std::uint8_t> rest(data + 1, size - 1);
  MacroRecordFormat format = selector & 1 ? MacroRecordFormat::kDriver : MacroRecordFormat::kEeprom;
  if (selector & 2) {
    FuzzText(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()), format,
             selector);
  } else {
    FuzzRecord(rest, format);
  }
  return 0;
}
