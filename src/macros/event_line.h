#pragma once
// Event lines: the text form of a macro, one line per event, on which the recorder and the
// editor work, and the rows the macro content list shows for them.
//
// A macro's event-line list starts with the delay-mode line ("00", "01" + milliseconds or "10");
// every further line is one event (or, for delays, up to five delay events in a row). The first
// character of an event line is its type; press, release, move and repeat lines end in the event
// bytes as four hexadecimal digits, of which only the last two count when the first two are "00":
//
//   "0 100"                  delay of 100 ms
//   "1 A CODE:8204"          key down (HID usage 0x04), "2 A CODE:0204" key up
//   "1 Ctrl CODE:8101"       modifier down (bit 0x01), "2 Ctrl CODE:0101" modifier up
//   "1 LeftKey CODE:00A1"    mouse button down, "2 LeftKey CODE:0021" up
//   "3 FB05" / "4 FBFB"      X move by +5 / -5; "5 FA.." / "6 FA.." the same along Y
//   "7 FD03" / "8 00FC"      repeat start (the body runs 3 + 1 times) / repeat end

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelt {

enum class EventLineType : int {
  kDelay = 0,
  kPress = 1,
  kRelease = 2,
  kMoveXPositive = 3,
  kMoveXNegative = 4,
  kMoveYPositive = 5,
  kMoveYNegative = 6,
  kRepeatStart = 7,
  kRepeatEnd = 8,
};

// Event bytes of the record.
inline constexpr std::uint8_t kEventKeyDown = 0x82;
inline constexpr std::uint8_t kEventKeyUp = 0x02;
inline constexpr std::uint8_t kEventModifierDown = 0x81;
inline constexpr std::uint8_t kEventModifierUp = 0x01;
inline constexpr std::uint8_t kEventDelay = 0xFE;
inline constexpr std::uint8_t kEventMoveX = 0xFB;
inline constexpr std::uint8_t kEventMoveY = 0xFA;
inline constexpr std::uint8_t kEventRepeatStart = 0xFD;
inline constexpr std::uint8_t kEventRepeatEnd = 0xFC;
inline constexpr std::uint8_t kRepeatEndless = 0xFF;  // repeat-start count that never ends

// One delay event waits its count times 8 ms, so at most 2040 ms; one delay line stands for up
// to five delay events in a row.
inline constexpr std::uint32_t kDelayUnitMs = 8;
inline constexpr std::uint32_t kMaxDelayEventMs = 2040;
inline constexpr int kMaxDelayEventsPerLine = 5;
inline constexpr std::uint32_t kMaxDelayLineMs = kMaxDelayEventMs * kMaxDelayEventsPerLine;

// The type named by the line's first character; nothing for an empty line or another character.
std::optional<EventLineType> EventLineTypeOf(std::string_view line);

// Line builders. Names are taken as given; the codes are written as upper-case digits.
std::string DelayLine(std::uint32_t milliseconds);                           // "0 100"
std::string KeyLine(bool press, std::string_view name, std::uint8_t usage);  // "1 A CODE:8204"
std::string ModifierLine(bool press, std::uint8_t modifier_bits);            // "1 Ctrl CODE:8101"
std::string MoveLine(std::uint8_t axis_event, std::uint8_t distance);        // "3 FB05", "6 FAFF"
std::string RepeatStartLine(std::uint8_t count_byte);                        // "7 FD03"
std::string RepeatEndLine();                                                 // "8 00FC"

// The line of a mouse-button event byte (0xA1 "1 LeftKey CODE:00A1" ... 0x30
// "2 Backward CODE:0030"); nothing for any other byte.
std::optional<std::string> MouseButtonLine(std::uint8_t event_byte);

// The name shown for modifier bits: "Ctrl", "Shift", "Alt", "Left Windows", "Right Windows" for
// the single bits 0x01, 0x02, 0x04, 0x08, 0x80; the right-hand bits 0x10, 0x20, 0x40 are "Right
// Ctrl", "Right Shift", "Right Alt"; several bits are joined with "+" ("Ctrl+Shift"); 0 gives
// the empty text.
std::string ModifierName(std::uint8_t modifier_bits);

// The record bytes one event line stands for. Delay lines ("0 " + decimal milliseconds) become
// one delay event when at most 2040 ms, else one 2040 ms event per full 2040 ms plus one for the
// rest, at most five events (longer delays are held to 10200 ms); below 8 ms the event waits 0.
// Every other line must be well formed and its type must fit its bytes. Nothing and a reason
// (which names the line) when it is not.
std::optional<std::vector<std::uint8_t>> EventLineBytes(std::string_view line,
                                                        std::string* error = nullptr);

// The delay-mode line, the first line of every event-line list.
enum class MacroDelayMode { kNone, kFixed, kRecorded };

struct DelayModeLine {
  MacroDelayMode mode = MacroDelayMode::kNone;
  std::uint32_t fixed_delay_ms = 0;  // kFixed only
};

// "00", "01" + milliseconds ("0132"), "10".
std::string FormatDelayModeLine(const DelayModeLine& delay_mode);
// Nothing for any other text; the fixed delay must be decimal digits, 0 to 10200 (a decoded
// macro whose delay lines each join several events can show more than one event's 2040 ms).
std::optional<DelayModeLine> ParseDelayModeLine(std::string_view line);

// One row of the macro content list: the icon of the line's type (nothing for a line of no
// known type, which is then drawn without one) and the text drawn beside it.
struct MacroContentRow {
  std::optional<EventLineType> icon;
  std::string text;
};

// Row texts: press and release lines show their name; delays "100 ms"; moves "X-Axis  5",
// "X-Axis  -5", "Y-Axis  ..."; repeat lines "Rep-Start  4" (count byte + 1) and "Rep-Stop".
// Lines too short for their type give the empty text.
MacroContentRow ContentRowForLine(std::string_view line);

}  // namespace zelt
