#pragma once
// The macro record: the byte form of a macro that the mouse and the filter driver play and the
// library files store, and the conversions between it and the event-line list (event_line.h).
//
// Mouse-memory record (224 bytes):  stop mode, length L (one byte), L - 1 event bytes, checksum.
// Driver record (2016 bytes):       stop mode, length L (two bytes, high first), events, checksum.
// L counts the event bytes and the checksum. The checksum covers the length byte(s) and the event
// bytes (util/checksum.h). L = 0 or all length bits set means the record is empty; the rest of a
// record the utility builds is 0, and an empty macro is an all-zero record.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "macros/event_line.h"

namespace zelt {

enum class MacroRecordFormat {
  kEeprom,  // 224-byte records: the mouse's macro slots and the mouse-memory library
  kDriver,  // 2016-byte records: the filter driver's macro list and the driver library
};

inline constexpr std::size_t kEepromMacroRecordSize = 224;
inline constexpr std::size_t kDriverMacroRecordSize = 2016;

std::size_t MacroRecordSize(MacroRecordFormat format);
// Event bytes a record of the format can hold: 221 and 2012.
std::size_t MacroRecordEventLimit(MacroRecordFormat format);
// Event bytes EncodeMacroLines writes at most: 221, and 1980 (the driver's recording capacity).
std::size_t MacroEncodeEventLimit(MacroRecordFormat format);

// Record byte 0.
inline constexpr std::uint8_t kStopAfterMacro = 0;  // the macro plays to its end
inline constexpr std::uint8_t kStopOnRelease = 1;   // the macro stops when the button is released

enum class MacroRepeatKind { kNone, kCount, kEndless };

// How often a user macro plays. Stored as a wrapper around the events: FD, count - 1, events, FC
// for a count of 1 to 255; FD, FF, events, FC for endless; nothing for none.
struct MacroRepeat {
  MacroRepeatKind kind = MacroRepeatKind::kNone;
  int count = 0;  // 1 to 255 for kCount
  friend bool operator==(const MacroRepeat&, const MacroRepeat&) = default;
};

struct MacroAttributes {
  std::uint8_t stop_mode = kStopAfterMacro;  // kStopAfterMacro or kStopOnRelease
  MacroRepeat repeat;
};

// The event-line list (line 0 the delay-mode line, which is not encoded) and the attributes as a
// whole record of the format's size. A list without events gives the all-zero empty record
// whatever the attributes. Nothing, with a reason, when a line is malformed ("event line N: ..."),
// an attribute is out of range, or the events need more bytes than MacroEncodeEventLimit: a
// record is never cut short or written past its end.
std::optional<std::vector<std::uint8_t>> EncodeMacroLines(std::span<const std::string> lines,
                                                          const MacroAttributes& attributes,
                                                          MacroRecordFormat format,
                                                          std::string* error = nullptr);

// The caption of a HID keyboard usage, for key lines (the key tables give it); without one the
// names of key lines are empty, which changes nothing in the bytes the lines stand for.
using UsageNameFn = std::function<std::string(std::uint8_t usage)>;

struct DecodedMacro {
  // True for a record with length 0 or all length bits set (or too short to hold a length): no
  // lines, and the fields below keep their defaults.
  bool empty = true;
  std::uint8_t stop_mode = kStopAfterMacro;  // record byte 0, as stored
  MacroRepeat repeat;                        // from the first event byte
  // Line 0 is the delay-mode line, then one line per event; the repeat wrapper and any inner
  // repeat bytes give no lines. Consecutive delay events (at most five) share one line.
  std::vector<std::string> lines;
  // From the first four delay lines (missing ones count 0): all 0 none; all equal fixed at that
  // value; otherwise recorded.
  DelayModeLine delay_mode;
  // False when decoding ended before the last event byte: a byte that is no event, an event cut
  // off by the end of the events, or a length that runs past the record (then only the bytes
  // inside the record are read). The lines decoded up to there are kept; `problem` says why.
  bool complete = true;
  std::string problem;
};

// Decodes a record of the format. Only the bytes of `record` that lie within the format's size
// are read, so a short span, a corrupt length or a cut event ends decoding cleanly.
DecodedMacro DecodeMacroRecord(std::span<const std::uint8_t> record, MacroRecordFormat format,
                               const UsageNameFn& usage_name = {});

// The stored length L; nothing when the span is too short to hold it.
std::optional<std::uint32_t> MacroRecordLength(std::span<const std::uint8_t> record,
                                               MacroRecordFormat format);
bool IsMacroRecordEmpty(std::span<const std::uint8_t> record, MacroRecordFormat format);

// The repeat setting read back from a record: the first event byte FD followed by FF is endless,
// FD followed by n a count of n + 1, anything else (an empty record too) none.
MacroRepeat ReadMacroRepeat(std::span<const std::uint8_t> record, MacroRecordFormat format);

// The checksum the record's length and event bytes call for; nothing for an empty record or one
// whose checksum position lies past the record.
std::optional<std::uint8_t> ComputeMacroRecordChecksum(std::span<const std::uint8_t> record,
                                                       MacroRecordFormat format);
// True when the record has content and its checksum byte holds the computed checksum.
bool MacroRecordChecksumMatches(std::span<const std::uint8_t> record, MacroRecordFormat format);

// The script text: the record's bytes from the stop mode to the checksum as one line of
// upper-case hexadecimal digit pairs without spaces; empty for an empty record. A length that
// runs past the record stops at the record's end.
std::string MacroScriptText(std::span<const std::uint8_t> record, MacroRecordFormat format);

}  // namespace zelt
