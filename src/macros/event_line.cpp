#include "macros/event_line.h"

#include <array>

#include "util/hex.h"

namespace zelt {
namespace {

constexpr std::string_view kCodeMark = " CODE:";
constexpr std::size_t kCodeSuffixSize = 10;  // " CODE:" and four digits

struct MouseButton {
  std::uint8_t bit;
  std::string_view name;
};
constexpr std::array<MouseButton, 5> kMouseButtons{{{0x01, "LeftKey"},
                                                    {0x02, "RightKey"},
                                                    {0x04, "MiddleKey"},
                                                    {0x08, "Forward"},
                                                    {0x10, "Backward"}}};
constexpr std::uint8_t kMouseButtonBase = 0x20;
constexpr std::uint8_t kPressBit = 0x80;

struct ModifierBit {
  std::uint8_t bit;
  std::string_view name;
};
constexpr std::array<ModifierBit, 8> kModifierBits{{{0x01, "Ctrl"},
                                                    {0x02, "Shift"},
                                                    {0x04, "Alt"},
                                                    {0x08, "Left Windows"},
                                                    {0x10, "Right Ctrl"},
                                                    {0x20, "Right Shift"},
                                                    {0x40, "Right Alt"},
                                                    {0x80, "Right Windows"}}};

void AppendHexByte(std::uint8_t byte, std::string& out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

// Two hexadecimal digits; nothing when `text` is not exactly that.
std::optional<std::uint8_t> ParseHexByte(std::string_view text) {
  if (text.size() != 2) return std::nullopt;
  int high = HexDigitValue(text[0]);
  int low = HexDigitValue(text[1]);
  if (high < 0 || low < 0) return std::nullopt;
  return static_cast<std::uint8_t>(high * 16 + low);
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Decimal digits to a number, held to `limit` (so any count of digits is safe).
std::uint32_t DigitsValue(std::string_view digits, std::uint32_t limit) {
  std::uint32_t value = 0;
  for (char c : digits) {
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
    if (value > limit) return limit;
  }
  return value;
}

bool Refuse(std::string_view line, std::string_view reason, std::string* error) {
  if (error) *error = "\"" + std::string(line) + "\": " + std::string(reason);
  return false;
}

bool IsMouseButtonEvent(std::uint8_t byte) { return MouseButtonLine(byte).has_value(); }

std::vector<std::uint8_t> DelayEvents(std::uint32_t milliseconds) {
  if (milliseconds > kMaxDelayLineMs) milliseconds = kMaxDelayLineMs;
  std::vector<std::uint8_t> bytes;
  if (milliseconds <= kMaxDelayEventMs) {
    bytes = {kEventDelay, static_cast<std::uint8_t>(milliseconds / kDelayUnitMs)};
    return bytes;
  }
  for (std::uint32_t i = 0; i < milliseconds / kMaxDelayEventMs; ++i) {
    bytes.push_back(kEventDelay);
    bytes.push_back(static_cast<std::uint8_t>(kMaxDelayEventMs / kDelayUnitMs));
  }
  std::uint32_t rest_units = (milliseconds % kMaxDelayEventMs) / kDelayUnitMs;
  if (rest_units > 0) {
    bytes.push_back(kEventDelay);
    bytes.push_back(static_cast<std::uint8_t>(rest_units));
  }
  return bytes;
}

// Press and release lines: "1 " + name + " CODE:" + four digits.
bool KeyOrButtonBytes(std::string_view line, bool press, std::vector<std::uint8_t>& bytes,
                      std::string* error) {
  if (line.size() < 2 + kCodeSuffixSize ||
      line.substr(line.size() - kCodeSuffixSize, kCodeMark.size()) != kCodeMark) {
    return Refuse(line, "a press or release line ends in \" CODE:\" and four hex digits", error);
  }
  std::string_view digits = line.substr(line.size() - 4);
  auto first = ParseHexByte(digits.substr(0, 2));
  auto second = ParseHexByte(digits.substr(2, 2));
  if (!first || !second) return Refuse(line, "the code is not four hexadecimal digits", error);
  if (*first == 0) {
    if (!IsMouseButtonEvent(*second)) {
      return Refuse(line, "00" + std::string(digits.substr(2)) + " is no mouse-button event",
                    error);
    }
    if (((*second & kPressBit) != 0) != press) {
      return Refuse(
          line,
          press ? "a press line holds a button release" : "a release line holds a button press",
          error);
    }
    bytes = {*second};
    return true;
  }
  bool is_key_event = (*first & ~kPressBit) == kEventKeyUp;
  bool is_modifier_event = (*first & ~kPressBit) == kEventModifierUp;
  if (!is_key_event && !is_modifier_event) {
    return Refuse(line, std::string(digits.substr(0, 2)) + " is no key or modifier event", error);
  }
  if (((*first & kPressBit) != 0) != press) {
    return Refuse(line,
                  press ? "a press line holds a release code" : "a release line holds a press code",
                  error);
  }
  bytes = {*first, *second};
  return true;
}

}  // namespace

std::optional<EventLineType> EventLineTypeOf(std::string_view line) {
  if (line.empty() || line[0] < '0' || line[0] > '8') return std::nullopt;
  return static_cast<EventLineType>(line[0] - '0');
}

std::string DelayLine(std::uint32_t milliseconds) { return "0 " + std::to_string(milliseconds); }

std::string KeyLine(bool press, std::string_view name, std::uint8_t usage) {
  std::string line = press ? "1 " : "2 ";
  line += name;
  line += kCodeMark;
  AppendHexByte(press ? kEventKeyDown : kEventKeyUp, line);
  AppendHexByte(usage, line);
  return line;
}

std::string ModifierLine(bool press, std::uint8_t modifier_bits) {
  std::string line = press ? "1 " : "2 ";
  line += ModifierName(modifier_bits);
  line += kCodeMark;
  AppendHexByte(press ? kEventModifierDown : kEventModifierUp, line);
  AppendHexByte(modifier_bits, line);
  return line;
}

std::string MoveLine(std::uint8_t axis_event, std::uint8_t distance) {
  bool negative = distance >= 0x80;
  char type = axis_event == kEventMoveX ? (negative ? '4' : '3') : (negative ? '6' : '5');
  std::string line{type, ' '};
  AppendHexByte(axis_event, line);
  AppendHexByte(distance, line);
  return line;
}

std::string RepeatStartLine(std::uint8_t count_byte) {
  std::string line = "7 FD";
  AppendHexByte(count_byte, line);
  return line;
}

std::string RepeatEndLine() { return "8 00FC"; }

std::optional<std::string> MouseButtonLine(std::uint8_t event_byte) {
  for (const auto& button : kMouseButtons) {
    bool press = event_byte == (kMouseButtonBase | kPressBit | button.bit);
    if (!press && event_byte != (kMouseButtonBase | button.bit)) continue;
    std::string line = press ? "1 " : "2 ";
    line += button.name;
    line += kCodeMark;
    line += "00";
    AppendHexByte(event_byte, line);
    return line;
  }
  return std::nullopt;
}

std::string ModifierName(std::uint8_t modifier_bits) {
  std::string name;
  for (const auto& modifier : kModifierBits) {
    if ((modifier_bits & modifier.bit) == 0) continue;
    if (!name.empty()) name += '+';
    name += modifier.name;
  }
  return name;
}

std::optional<std::vector<std::uint8_t>> EventLineBytes(std::string_view line, std::string* error) {
  auto type = EventLineTypeOf(line);
  if (!type) {
    Refuse(line, "an event line starts with its type, a digit from 0 to 8", error);
    return std::nullopt;
  }
  if (line.size() < 2 || line[1] != ' ') {
    Refuse(line, "the type is followed by one space", error);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  switch (*type) {
    case EventLineType::kDelay: {
      std::string_view digits = line.substr(2);
      if (!IsDigits(digits)) {
        Refuse(line, "a delay line gives the milliseconds as decimal digits", error);
        return std::nullopt;
      }
      return DelayEvents(DigitsValue(digits, kMaxDelayLineMs + 1));
    }
    case EventLineType::kPress:
    case EventLineType::kRelease:
      if (!KeyOrButtonBytes(line, *type == EventLineType::kPress, bytes, error))
        return std::nullopt;
      return bytes;
    default:
      break;
  }
  // Move and repeat lines: the type, a space and exactly four digits.
  std::optional<std::uint8_t> first;
  std::optional<std::uint8_t> second;
  if (line.size() == 6) {
    first = ParseHexByte(line.substr(2, 2));
    second = ParseHexByte(line.substr(4, 2));
  }
  if (!first || !second) {
    Refuse(line, "this line type is followed by exactly four hexadecimal digits", error);
    return std::nullopt;
  }
  switch (*type) {
    case EventLineType::kMoveXPositive:
    case EventLineType::kMoveXNegative:
    case EventLineType::kMoveYPositive:
    case EventLineType::kMoveYNegative: {
      bool along_x =
          *type == EventLineType::kMoveXPositive || *type == EventLineType::kMoveXNegative;
      bool negative =
          *type == EventLineType::kMoveXNegative || *type == EventLineType::kMoveYNegative;
      if (*first != (along_x ? kEventMoveX : kEventMoveY)) {
        Refuse(line,
               along_x ? "an X move is FB and the distance" : "a Y move is FA and the distance",
               error);
        return std::nullopt;
      }
      if ((*second >= 0x80) != negative) {
        Refuse(line,
               negative ? "this type moves by -128 to -1 (80 to FF)"
                        : "this type moves by 0 to 127 (00 to 7F)",
               error);
        return std::nullopt;
      }
      return std::vector<std::uint8_t>{*first, *second};
    }
    case EventLineType::kRepeatStart:
      if (*first != kEventRepeatStart) {
        Refuse(line, "a repeat start is FD and the count byte", error);
        return std::nullopt;
      }
      return std::vector<std::uint8_t>{*first, *second};
    case EventLineType::kRepeatEnd:
      if (*first != 0 || *second != kEventRepeatEnd) {
        Refuse(line, "a repeat end is 00FC", error);
        return std::nullopt;
      }
      return std::vector<std::uint8_t>{kEventRepeatEnd};
    default:
      return std::nullopt;  // delays, presses and releases are handled above
  }
}

std::string FormatDelayModeLine(const DelayModeLine& delay_mode) {
  switch (delay_mode.mode) {
    case MacroDelayMode::kFixed:
      return "01" + std::to_string(delay_mode.fixed_delay_ms);
    case MacroDelayMode::kRecorded:
      return "10";
    case MacroDelayMode::kNone:
      break;
  }
  return "00";
}

std::optional<DelayModeLine> ParseDelayModeLine(std::string_view line) {
  if (line == "00") return DelayModeLine{MacroDelayMode::kNone, 0};
  if (line == "10") return DelayModeLine{MacroDelayMode::kRecorded, 0};
  if (line.size() > 2 && line.substr(0, 2) == "01" && IsDigits(line.substr(2))) {
    std::uint32_t value = DigitsValue(line.substr(2), kMaxDelayLineMs + 1);
    if (value <= kMaxDelayLineMs) return DelayModeLine{MacroDelayMode::kFixed, value};
  }
  return std::nullopt;
}

MacroContentRow ContentRowForLine(std::string_view line) {
  MacroContentRow row;
  row.icon = EventLineTypeOf(line);
  if (!row.icon) {
    row.text = std::string(line);
    return row;
  }
  // The value byte of move and repeat lines: the last two digits.
  std::optional<std::uint8_t> value;
  if (line.size() >= 4) value = ParseHexByte(line.substr(line.size() - 2));
  switch (*row.icon) {
    case EventLineType::kDelay:
      if (line.size() >= 2) row.text = std::string(line.substr(2)) + " ms";
      break;
    case EventLineType::kPress:
    case EventLineType::kRelease:
      if (line.size() >= 2 + kCodeSuffixSize) {
        row.text = std::string(line.substr(2, line.size() - 2 - kCodeSuffixSize));
      }
      break;
    case EventLineType::kMoveXPositive:
    case EventLineType::kMoveXNegative:
    case EventLineType::kMoveYPositive:
    case EventLineType::kMoveYNegative: {
      if (!value) break;
      bool along_x =
          *row.icon == EventLineType::kMoveXPositive || *row.icon == EventLineType::kMoveXNegative;
      bool negative =
          *row.icon == EventLineType::kMoveXNegative || *row.icon == EventLineType::kMoveYNegative;
      int distance = negative ? int{*value} - 256 : int{*value};
      row.text = (along_x ? "X-Axis  " : "Y-Axis  ") + std::to_string(distance);
      break;
    }
    case EventLineType::kRepeatStart:
      if (value) row.text = "Rep-Start  " + std::to_string(int{*value} + 1);
      break;
    case EventLineType::kRepeatEnd:
      row.text = "Rep-Stop";
      break;
  }
  return row;
}

}  // namespace zelt
