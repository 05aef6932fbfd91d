#include "macros/macro_record.h"

#include <algorithm>

#include "util/checksum.h"

namespace zelt {
namespace {

constexpr std::size_t kEepromEncodeLimit = 221;
constexpr std::size_t kDriverEncodeLimit = 1980;
constexpr int kDelayValuesForMode = 4;

// Bytes before the first event: the stop mode and the one- or two-byte length.
std::size_t HeaderSize(MacroRecordFormat format) {
  return format == MacroRecordFormat::kEeprom ? 2 : 3;
}

// The part of `record` that belongs to a record of the format.
std::span<const std::uint8_t> Clamp(std::span<const std::uint8_t> record,
                                    MacroRecordFormat format) {
  return record.first(std::min(record.size(), MacroRecordSize(format)));
}

// Where the event bytes of a non-empty record lie, clamped to the record.
struct EventSpan {
  std::size_t begin = 0;
  std::size_t count = 0;         // event bytes inside the record
  std::size_t claimed = 0;       // event bytes the length claims
  bool checksum_inside = false;  // the checksum position lies within the record
};

std::optional<EventSpan> Events(std::span<const std::uint8_t> record, MacroRecordFormat format) {
  if (IsMacroRecordEmpty(record, format)) return std::nullopt;
  record = Clamp(record, format);
  EventSpan events;
  events.begin = HeaderSize(format);
  events.claimed = *MacroRecordLength(record, format) - 1;
  std::size_t room = record.size() - events.begin;
  events.count = std::min(events.claimed, room);
  events.checksum_inside = events.claimed < room;
  return events;
}

bool IsTwoByteEvent(std::uint8_t byte) {
  switch (byte) {
    case kEventKeyDown:
    case kEventKeyUp:
    case kEventModifierDown:
    case kEventModifierUp:
    case kEventMoveX:
    case kEventMoveY:
    case kEventRepeatStart:
    case kEventDelay:
      return true;
    default:
      return false;
  }
}

std::string HexByteText(std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return std::string{kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

DelayModeLine DelayModeFromValues(const std::vector<std::uint32_t>& values) {
  std::uint32_t padded[kDelayValuesForMode] = {};
  for (std::size_t i = 0; i < values.size() && i < kDelayValuesForMode; ++i) padded[i] = values[i];
  bool all_equal = std::all_of(std::begin(padded), std::end(padded),
                               [&](std::uint32_t value) { return value == padded[0]; });
  if (all_equal && padded[0] == 0) return {MacroDelayMode::kNone, 0};
  if (all_equal) return {MacroDelayMode::kFixed, padded[0]};
  return {MacroDelayMode::kRecorded, 0};
}

}  // namespace

std::size_t MacroRecordSize(MacroRecordFormat format) {
  return format == MacroRecordFormat::kEeprom ? kEepromMacroRecordSize : kDriverMacroRecordSize;
}

std::size_t MacroRecordEventLimit(MacroRecordFormat format) {
  // Everything but the header and the checksum.
  return MacroRecordSize(format) - HeaderSize(format) - 1;
}

std::size_t MacroEncodeEventLimit(MacroRecordFormat format) {
  return format == MacroRecordFormat::kEeprom ? kEepromEncodeLimit : kDriverEncodeLimit;
}

std::optional<std::vector<std::uint8_t>> EncodeMacroLines(std::span<const std::string> lines,
                                                          const MacroAttributes& attributes,
                                                          MacroRecordFormat format,
                                                          std::string* error) {
  auto fail = [&](std::string reason) -> std::optional<std::vector<std::uint8_t>> {
    if (error) *error = std::move(reason);
    return std::nullopt;
  };
  if (attributes.stop_mode != kStopAfterMacro && attributes.stop_mode != kStopOnRelease) {
    return fail("the stop mode is 0 or 1, not " + std::to_string(attributes.stop_mode));
  }
  if (attributes.repeat.kind == MacroRepeatKind::kCount &&
      (attributes.repeat.count < 1 || attributes.repeat.count > 255)) {
    return fail("a repeat count is 1 to 255, not " + std::to_string(attributes.repeat.count));
  }

  std::vector<std::uint8_t> events;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string reason;
    auto bytes = EventLineBytes(lines[i], &reason);
    if (!bytes) return fail("event line " + std::to_string(i) + ": " + reason);
    events.insert(events.end(), bytes->begin(), bytes->end());
  }
  std::vector<std::uint8_t> record(MacroRecordSize(format), 0);
  if (events.empty()) return record;  // no wrapper around nothing: an empty loop never ends

  if (attributes.repeat.kind != MacroRepeatKind::kNone) {
    std::uint8_t count_byte = attributes.repeat.kind == MacroRepeatKind::kEndless
                                  ? kRepeatEndless
                                  : static_cast<std::uint8_t>(attributes.repeat.count - 1);
    events.insert(events.begin(), {kEventRepeatStart, count_byte});
    events.push_back(kEventRepeatEnd);
  }
  std::size_t limit = MacroEncodeEventLimit(format);
  if (events.size() > limit) {
    return fail("the macro needs " + std::to_string(events.size()) +
                " event bytes; a record takes at most " + std::to_string(limit));
  }

  std::size_t length = events.size() + 1;
  std::size_t begin = HeaderSize(format);
  record[0] = attributes.stop_mode;
  if (format == MacroRecordFormat::kEeprom) {
    record[1] = static_cast<std::uint8_t>(length);
  } else {
    record[1] = static_cast<std::uint8_t>(length >> 8);
    record[2] = static_cast<std::uint8_t>(length & 0xFF);
  }
  std::copy(events.begin(), events.end(), record.begin() + static_cast<std::ptrdiff_t>(begin));
  std::span<const std::uint8_t> covered(record.data() + 1, begin - 1 + events.size());
  record[begin + events.size()] = Checksum(covered);
  return record;
}

DecodedMacro DecodeMacroRecord(std::span<const std::uint8_t> record, MacroRecordFormat format,
                               const UsageNameFn& usage_name) {
  DecodedMacro result;
  record = Clamp(record, format);
  auto events = Events(record, format);
  if (!events) {
    if (record.size() < HeaderSize(format)) {
      result.complete = false;
      result.problem = "the record is too short to hold a length";
    }
    return result;
  }
  result.empty = false;
  result.stop_mode = record[0];
  result.repeat = ReadMacroRepeat(record, format);
  result.lines.push_back("00");
  if (!events->checksum_inside) {
    std::size_t room = record.size() - events->begin;  // events and checksum
    result.complete = false;
    result.problem = "the length claims " + std::to_string(events->claimed) +
                     " event bytes and a checksum; the record has room for " +
                     std::to_string(room) + " bytes after the length";
  }

  std::vector<std::uint32_t> delay_values;
  const std::size_t end = events->begin + events->count;
  std::size_t pos = events->begin;
  auto stop = [&](std::string reason) {
    result.complete = false;
    result.problem = std::move(reason);
  };
  while (pos < end) {
    const std::uint8_t byte = record[pos];
    if (IsTwoByteEvent(byte) && pos + 1 >= end) {
      stop("the event " + HexByteText(byte) + " at record byte " + std::to_string(pos) +
           " is cut off by the end of the events");
      break;
    }
    if (byte == kEventDelay) {
      std::uint32_t sum = 0;
      for (int taken = 0;
           taken < kMaxDelayEventsPerLine && pos + 1 < end && record[pos] == kEventDelay; ++taken) {
        sum += record[pos + 1] * kDelayUnitMs;
        pos += 2;
      }
      result.lines.push_back(DelayLine(sum));
      if (delay_values.size() < kDelayValuesForMode) delay_values.push_back(sum);
      continue;
    }
    switch (byte) {
      case kEventKeyDown:
      case kEventKeyUp: {
        std::uint8_t usage = record[pos + 1];
        result.lines.push_back(
            KeyLine(byte == kEventKeyDown, usage_name ? usage_name(usage) : std::string(), usage));
        pos += 2;
        continue;
      }
      case kEventModifierDown:
      case kEventModifierUp:
        result.lines.push_back(ModifierLine(byte == kEventModifierDown, record[pos + 1]));
        pos += 2;
        continue;
      case kEventMoveX:
      case kEventMoveY:
        result.lines.push_back(MoveLine(byte, record[pos + 1]));
        pos += 2;
        continue;
      case kEventRepeatStart:
        pos += 2;
        continue;
      case kEventRepeatEnd:
        pos += 1;
        continue;
      default:
        break;
    }
    auto button = MouseButtonLine(byte);
    if (!button) {
      stop("record byte " + std::to_string(pos) + " (" + HexByteText(byte) + ") is no event");
      break;
    }
    result.lines.push_back(*button);
    pos += 1;
  }
  result.delay_mode = DelayModeFromValues(delay_values);
  result.lines[0] = FormatDelayModeLine(result.delay_mode);
  return result;
}

std::optional<std::uint32_t> MacroRecordLength(std::span<const std::uint8_t> record,
                                               MacroRecordFormat format) {
  if (record.size() < HeaderSize(format)) return std::nullopt;
  if (format == MacroRecordFormat::kEeprom) return record[1];
  return static_cast<std::uint32_t>(record[1] << 8 | record[2]);
}

bool IsMacroRecordEmpty(std::span<const std::uint8_t> record, MacroRecordFormat format) {
  auto length = MacroRecordLength(record, format);
  std::uint32_t all_set = format == MacroRecordFormat::kEeprom ? 0xFF : 0xFFFF;
  return !length || *length == 0 || *length == all_set;
}

MacroRepeat ReadMacroRepeat(std::span<const std::uint8_t> record, MacroRecordFormat format) {
  auto events = Events(record, format);
  if (!events || events->count < 2 || record[events->begin] != kEventRepeatStart) return {};
  std::uint8_t count_byte = record[events->begin + 1];
  if (count_byte == kRepeatEndless) return {MacroRepeatKind::kEndless, 0};
  return {MacroRepeatKind::kCount, count_byte + 1};
}

std::optional<std::uint8_t> ComputeMacroRecordChecksum(std::span<const std::uint8_t> record,
                                                       MacroRecordFormat format) {
  auto events = Events(record, format);
  if (!events || !events->checksum_inside) return std::nullopt;
  return Checksum(record.subspan(1, events->begin - 1 + events->count));
}

bool MacroRecordChecksumMatches(std::span<const std::uint8_t> record, MacroRecordFormat format) {
  auto checksum = ComputeMacroRecordChecksum(record, format);
  if (!checksum) return false;
  auto events = Events(record, format);
  return record[events->begin + events->count] == *checksum;
}

std::string MacroScriptText(std::span<const std::uint8_t> record, MacroRecordFormat format) {
  auto events = Events(record, format);
  if (!events) return {};
  record = Clamp(record, format);
  std::size_t end = std::min(record.size(), events->begin + events->claimed + 1);
  std::string text;
  text.reserve(end * 2);
  for (std::size_t i = 0; i < end; ++i) text += HexByteText(record[i]);
  return text;
}

}  // namespace zelt
