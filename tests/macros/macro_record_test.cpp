#include "macros/macro_record.h"

#include <gtest/gtest.h>

#include <map>

namespace zelt {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

constexpr MacroRecordFormat kFormats[] = {MacroRecordFormat::kEeprom, MacroRecordFormat::kDriver};

std::string FakeUsageName(std::uint8_t usage) {
  static const std::map<std::uint8_t, std::string> names{{0x04, "A"}, {0x2C, "Space bar"}};
  auto it = names.find(usage);
  return it == names.end() ? std::string() : it->second;
}

// A record of the format with `body` (everything after the stop mode and the length) laid in.
Bytes MakeRecord(MacroRecordFormat format, std::uint8_t stop, std::uint32_t length,
                 const Bytes& body) {
  Bytes record(MacroRecordSize(format), 0);
  record[0] = stop;
  std::size_t at = 2;
  if (format == MacroRecordFormat::kEeprom) {
    record[1] = static_cast<std::uint8_t>(length);
  } else {
    record[1] = static_cast<std::uint8_t>(length >> 8);
    record[2] = static_cast<std::uint8_t>(length);
    at = 3;
  }
  std::copy(body.begin(), body.end(), record.begin() + static_cast<std::ptrdiff_t>(at));
  return record;
}

Bytes Encode(const Lines& lines, MacroRecordFormat format, MacroAttributes attributes = {}) {
  std::string error;
  auto record = EncodeMacroLines(lines, attributes, format, &error);
  EXPECT_TRUE(record) << error;
  return record.value_or(Bytes{});
}

TEST(EncodeMacroLines, BuildsTheWorkedExampleInBothFormats) {
  Lines lines{"10", "1 A CODE:8204", "0 100", "2 A CODE:0204"};
  MacroAttributes stop_on_release{kStopOnRelease, {}};

  Bytes eeprom =
      MakeRecord(MacroRecordFormat::kEeprom, 1, 7, {0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04, 0xC7});
  EXPECT_EQ(Encode(lines, MacroRecordFormat::kEeprom, stop_on_release), eeprom);

  // The two length bytes 00 07 add up to the same checksum.
  Bytes driver =
      MakeRecord(MacroRecordFormat::kDriver, 1, 7, {0x82, 0x04, 0xFE, 0x0C, 0x02, 0x04, 0xC7});
  EXPECT_EQ(Encode(lines, MacroRecordFormat::kDriver, stop_on_release), driver);
  EXPECT_EQ(MacroScriptText(eeprom, MacroRecordFormat::kEeprom), "01078204FE0C0204C7");
  EXPECT_EQ(MacroScriptText(driver, MacroRecordFormat::kDriver), "0100078204FE0C0204C7");
}

TEST(EncodeMacroLines, GivesTheAllZeroRecordWithoutEvents) {
  for (auto format : kFormats) {
    Bytes zero(MacroRecordSize(format), 0);
    EXPECT_EQ(Encode({"10"}, format, {kStopOnRelease, {}}), zero);
    EXPECT_EQ(Encode({}, format), zero);
    // A repeat around nothing would be an empty loop the mouse never leaves.
    EXPECT_EQ(Encode({"00"}, format, {kStopAfterMacro, {MacroRepeatKind::kEndless, 0}}), zero);
    EXPECT_EQ(MacroScriptText(zero, format), "");
  }
}

TEST(MacroRecord, RoundTripsEveryEventKindInBothFormats) {
  const Lines lines{"0148",
                    "1 Ctrl CODE:8101",
                    "0 48",
                    "1 A CODE:8204",
                    "0 48",
                    "2 A CODE:0204",
                    "2 Ctrl CODE:0101",
                    "1 Space bar CODE:822C",
                    "2 Space bar CODE:022C",
                    "0 48",
                    "1 LeftKey CODE:00A1",
                    "2 LeftKey CODE:0021",
                    "1 RightKey CODE:00A2",
                    "2 RightKey CODE:0022",
                    "1 MiddleKey CODE:00A4",
                    "2 MiddleKey CODE:0024",
                    "1 Forward CODE:00A8",
                    "2 Forward CODE:0028",
                    "1 Backward CODE:00B0",
                    "2 Backward CODE:0030",
                    "0 48",
                    "3 FB7F",
                    "4 FB80",
                    "5 FA00",
                    "6 FAFF",
                    "1 Shift+Alt CODE:8106",
                    "0 10200",
                    "0 2040"};
  for (auto format : kFormats) {
    MacroAttributes attributes{kStopOnRelease, {MacroRepeatKind::kCount, 3}};
    Bytes record = Encode(lines, format, attributes);
    ASSERT_EQ(record.size(), MacroRecordSize(format));
    EXPECT_TRUE(MacroRecordChecksumMatches(record, format));

    DecodedMacro macro = DecodeMacroRecord(record, format, FakeUsageName);
    EXPECT_FALSE(macro.empty);
    EXPECT_TRUE(macro.complete) << macro.problem;
    EXPECT_EQ(macro.lines, lines);
    EXPECT_EQ(macro.stop_mode, kStopOnRelease);
    EXPECT_EQ(macro.repeat, attributes.repeat);
    EXPECT_EQ(macro.delay_mode.mode, MacroDelayMode::kFixed);
    EXPECT_EQ(macro.delay_mode.fixed_delay_ms, 48u);
    // Encoding what was decoded gives the same bytes.
    EXPECT_EQ(Encode(macro.lines, format, attributes), record);
  }
}

TEST(MacroRecord, WrapsTheEventsForEachRepeatSetting) {
  struct Case {
    MacroRepeat repeat;
    Bytes body;
  };
  const Case cases[] = {
      {{MacroRepeatKind::kNone, 0}, {0xA1, 0x21}},
      {{MacroRepeatKind::kCount, 1}, {0xFD, 0x00, 0xA1, 0x21, 0xFC}},
      {{MacroRepeatKind::kCount, 8}, {0xFD, 0x07, 0xA1, 0x21, 0xFC}},
      {{MacroRepeatKind::kCount, 255}, {0xFD, 0xFE, 0xA1, 0x21, 0xFC}},
      {{MacroRepeatKind::kEndless, 0}, {0xFD, 0xFF, 0xA1, 0x21, 0xFC}},
  };
  const Lines lines{"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"};
  for (const auto& c : cases) {
    Bytes record = Encode(lines, MacroRecordFormat::kEeprom, {kStopAfterMacro, c.repeat});
    Bytes events(record.begin() + 2, record.begin() + 2 + static_cast<long>(c.body.size()));
    EXPECT_EQ(events, c.body) << c.repeat.count;
    EXPECT_EQ(record[1], c.body.size() + 1);
    EXPECT_EQ(ReadMacroRepeat(record, MacroRecordFormat::kEeprom), c.repeat);
    // The wrapper shows as the repeat setting, not as lines.
    EXPECT_EQ(DecodeMacroRecord(record, MacroRecordFormat::kEeprom).lines, lines);
  }
}

TEST(EncodeMacroLines, RefusesBadLinesAndAttributesSayingWhich) {
  std::string error;
  Lines lines{"00", "1 A CODE:8204", "3 FBFF"};
  EXPECT_FALSE(EncodeMacroLines(lines, {}, MacroRecordFormat::kEeprom, &error));
  EXPECT_NE(error.find("event line 2"), std::string::npos) << error;

  Lines good{"00", "1 A CODE:8204"};
  EXPECT_FALSE(EncodeMacroLines(good, {2, {}}, MacroRecordFormat::kEeprom, &error));
  EXPECT_NE(error.find("stop mode"), std::string::npos) << error;
  for (int count : {0, 256}) {
    EXPECT_FALSE(EncodeMacroLines(good, {0, {MacroRepeatKind::kCount, count}},
                                  MacroRecordFormat::kEeprom, &error));
    EXPECT_NE(error.find("repeat count"), std::string::npos) << error;
  }
}

// Lines that need exactly `event_bytes` bytes (one-byte button events, an optional first delay).
Lines LinesOfSize(std::size_t event_bytes) {
  Lines lines{"00"};
  if (event_bytes % 2 == 1) {
    lines.push_back("1 LeftKey CODE:00A1");
    --event_bytes;
  }
  for (std::size_t i = 0; i < event_bytes / 2; ++i) lines.push_back("3 FB01");
  return lines;
}

TEST(EncodeMacroLines, FillsARecordToItsLastByteAndRefusesMore) {
  struct Case {
    MacroRecordFormat format;
    std::size_t limit;
  };
  for (auto [format, limit] :
       {Case{MacroRecordFormat::kEeprom, 221}, Case{MacroRecordFormat::kDriver, 1980}}) {
    Bytes full = Encode(LinesOfSize(limit), format);
    ASSERT_EQ(full.size(), MacroRecordSize(format));
    EXPECT_EQ(MacroRecordLength(full, format), limit + 1);
    EXPECT_TRUE(MacroRecordChecksumMatches(full, format));
    if (format == MacroRecordFormat::kEeprom) {
      EXPECT_NE(full.back(), 0);  // the checksum is the record's last byte
    }

    std::string error;
    EXPECT_FALSE(EncodeMacroLines(LinesOfSize(limit + 1), {}, format, &error));
    EXPECT_NE(error.find("at most " + std::to_string(limit)), std::string::npos) << error;
    // The repeat wrapper counts: three bytes more than the events themselves.
    EXPECT_FALSE(EncodeMacroLines(LinesOfSize(limit - 2), {0, {MacroRepeatKind::kEndless, 0}},
                                  format, &error));
    EXPECT_TRUE(EncodeMacroLines(LinesOfSize(limit - 3), {0, {MacroRepeatKind::kEndless, 0}},
                                 format, &error));
  }
}

TEST(DecodeMacroRecord, JoinsUpToFiveDelayEventsPerLine) {
  Bytes five, six;
  for (int i = 0; i < 5; ++i) five.insert(five.end(), {0xFE, 0xFF});
  six = five;
  six.insert(six.end(), {0xFE, 0xFF});
  auto lines_of = [](const Bytes& body) {
    Bytes with_checksum = body;
    with_checksum.push_back(0);
    return DecodeMacroRecord(MakeRecord(MacroRecordFormat::kEeprom, 0,
                                        static_cast<std::uint32_t>(body.size() + 1), with_checksum),
                             MacroRecordFormat::kEeprom)
        .lines;
  };
  EXPECT_EQ(lines_of(five), (Lines{"10", "0 10200"}));
  EXPECT_EQ(lines_of(six), (Lines{"10", "0 10200", "0 2040"}));
  // Delays around another event are lines of their own.
  EXPECT_EQ(lines_of({0xFE, 0x01, 0xA1, 0xFE, 0x02, 0xFE, 0x03}),
            (Lines{"10", "0 8", "1 LeftKey CODE:00A1", "0 40"}));
}

TEST(DecodeMacroRecord, SetsTheDelayModeFromTheFirstFourDelays) {
  struct Case {
    Bytes delay_units;
    const char* mode_line;
  };
  const Case cases[] = {
      {{}, "00"},
      {{0, 0}, "00"},
      {{6, 6, 6, 6}, "0148"},
      {{6, 6, 6, 6, 9}, "0148"},  // only the first four count
      {{6}, "10"},                // missing delays count 0
      {{6, 6, 6, 7}, "10"},
  };
  for (const auto& c : cases) {
    Bytes body;
    for (std::uint8_t units : c.delay_units) body.insert(body.end(), {0xFE, units, 0xA1});
    body.push_back(0);  // checksum (not checked when decoding)
    auto record =
        MakeRecord(MacroRecordFormat::kEeprom, 0, static_cast<std::uint32_t>(body.size()), body);
    EXPECT_EQ(DecodeMacroRecord(record, MacroRecordFormat::kEeprom).lines[0], c.mode_line);
  }
}

TEST(DecodeMacroRecord, TreatsZeroAndAllOnesLengthsAsEmpty) {
  Bytes eeprom_ff = MakeRecord(MacroRecordFormat::kEeprom, 1, 0xFF, {0xA1, 0x21});
  Bytes driver_ffff = MakeRecord(MacroRecordFormat::kDriver, 1, 0xFFFF, {0xA1, 0x21});
  Bytes driver_ff = MakeRecord(MacroRecordFormat::kDriver, 0, 0x00FF, {});
  for (auto [record, format] : {std::pair{Bytes(224, 0), MacroRecordFormat::kEeprom},
                                std::pair{eeprom_ff, MacroRecordFormat::kEeprom},
                                std::pair{driver_ffff, MacroRecordFormat::kDriver}}) {
    DecodedMacro macro = DecodeMacroRecord(record, format);
    EXPECT_TRUE(macro.empty);
    EXPECT_TRUE(macro.lines.empty());
    EXPECT_TRUE(macro.complete);
    EXPECT_FALSE(MacroRecordChecksumMatches(record, format));
  }
  // 0x00FF is a length like any other in a driver record.
  EXPECT_FALSE(IsMacroRecordEmpty(driver_ff, MacroRecordFormat::kDriver));
}

Lines ModeLineAnd(Lines events) {
  events.insert(events.begin(), "00");
  return events;
}

TEST(DecodeMacroRecord, EndsCleanlyOnRecordsItCannotRead) {
  using F = MacroRecordFormat;
  struct Case {
    const char* what;
    F format;
    Bytes record;
    Lines lines;
  };
  Bytes eeprom_overlong = MakeRecord(F::kEeprom, 0, 0xFE, {});
  for (std::size_t i = 2; i < eeprom_overlong.size(); ++i) eeprom_overlong[i] = 0xA1;
  Bytes driver_overlong = MakeRecord(F::kDriver, 0, 0x7FFF, {});
  for (std::size_t i = 3; i < driver_overlong.size(); ++i) driver_overlong[i] = 0x21;
  const Case cases[] = {
      {"first event byte 0", F::kEeprom, MakeRecord(F::kEeprom, 0, 3, {0x00, 0xA1, 0x00}), {"00"}},
      {"unknown byte mid-way",
       F::kEeprom,
       MakeRecord(F::kEeprom, 0, 4, {0xA1, 0x77, 0x21, 0x00}),
       {"00", "1 LeftKey CODE:00A1"}},
      {"key event cut by the checksum",
       F::kEeprom,
       MakeRecord(F::kEeprom, 0, 3, {0xA1, 0x82, 0x5A}),
       {"00", "1 LeftKey CODE:00A1"}},
      {"delay cut after two whole ones",
       F::kDriver,
       MakeRecord(F::kDriver, 0, 6, {0xFE, 0x01, 0xFE, 0x01, 0xFE, 0x00}),
       {"10", "0 16"}},
      {"repeat start cut", F::kEeprom, MakeRecord(F::kEeprom, 0, 2, {0xFD, 0x00}), {"00"}},
      {"length past the record", F::kEeprom, eeprom_overlong,
       ModeLineAnd(Lines(222, "1 LeftKey CODE:00A1"))},
      {"driver length past the record", F::kDriver, driver_overlong,
       ModeLineAnd(Lines(2013, "2 LeftKey CODE:0021"))},
      {"span shorter than the header", F::kDriver, Bytes{0x00, 0x00}, {}},
      {"span cut inside the events",
       F::kEeprom,
       Bytes{0x00, 0x20, 0xA1, 0x21, 0xFB},
       {"00", "1 LeftKey CODE:00A1", "2 LeftKey CODE:0021"}},
  };
  for (const auto& c : cases) {
    DecodedMacro macro = DecodeMacroRecord(c.record, c.format);
    EXPECT_FALSE(macro.complete) << c.what;
    EXPECT_FALSE(macro.problem.empty()) << c.what;
    EXPECT_EQ(macro.lines, c.lines) << c.what;
    EXPECT_FALSE(MacroRecordChecksumMatches(c.record, c.format)) << c.what;
  }
}

TEST(DecodeMacroRecord, ReadsTheFireKeySectionOfTheDefaultImage) {
  // The fire key plays a short macro in the same encoding: length 0A, repeat 2 + 1 times a left
  // click with delays of 3 and 6 units, checksum 96.
  Bytes record = MakeRecord(MacroRecordFormat::kEeprom, 0, 0x0A,
                            {0xFD, 0x02, 0xA1, 0xFE, 0x03, 0x21, 0xFE, 0x06, 0xFC, 0x96});
  EXPECT_TRUE(MacroRecordChecksumMatches(record, MacroRecordFormat::kEeprom));
  DecodedMacro macro = DecodeMacroRecord(record, MacroRecordFormat::kEeprom);
  EXPECT_TRUE(macro.complete);
  EXPECT_EQ(macro.repeat, (MacroRepeat{MacroRepeatKind::kCount, 3}));
  EXPECT_EQ(macro.lines,
            (Lines{"10", "1 LeftKey CODE:00A1", "0 24", "2 LeftKey CODE:0021", "0 48"}));
  EXPECT_EQ(Encode(macro.lines, MacroRecordFormat::kEeprom, {0, macro.repeat}), record);
}

TEST(MacroRecordChecksum, FlagsAWrongChecksumByte) {
  Bytes record = Encode({"00", "1 A CODE:8204"}, MacroRecordFormat::kDriver);
  EXPECT_EQ(ComputeMacroRecordChecksum(record, MacroRecordFormat::kDriver), record[5]);
  record[5] ^= 0x01;
  EXPECT_FALSE(MacroRecordChecksumMatches(record, MacroRecordFormat::kDriver));
  // Decoding does not depend on it.
  EXPECT_TRUE(DecodeMacroRecord(record, MacroRecordFormat::kDriver).complete);
}

}  // namespace
}  // namespace zelt
