// Runs the built zeltctl for the macro commands, as a user would from a shell.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_program.h"

namespace zelt {
namespace {

using test_support::ProgramResult;
using test_support::RunZeltctl;

std::string ZeroPairs(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += " 00";
  return text;
}

TEST(MacroCommands, EncodeAndDecodeRoundTripThroughTheCommandLine) {
  ProgramResult encoded =
      RunZeltctl({"macro-record", "--stop=1"}, "1 A CODE:8204\r\n0 100\n\n2 A CODE:0204\n");
  ASSERT_EQ(encoded.exit_code, 0) << encoded.err;
  EXPECT_EQ(encoded.out, "01 07 82 04 fe 0c 02 04 c7" + ZeroPairs(224 - 9) + "\n");

  // A short record is zero-filled; its lines, rows and checksum are shown.
  ProgramResult decoded = RunZeltctl({"macro-lines", "01 07 82 04 FE 0C 02 04 C7"});
  ASSERT_EQ(decoded.exit_code, 0) << decoded.err;
  EXPECT_NE(decoded.out.find("# stop mode 1, repeat none, checksum ok\n10\n"), std::string::npos)
      << decoded.out;
  EXPECT_NE(decoded.out.find("CODE:8204\n0 96\n"), std::string::npos) << decoded.out;
  EXPECT_NE(decoded.out.find("# row 1, icon 0: 96 ms\n"), std::string::npos) << decoded.out;

  // What macro-lines prints is input macro-record takes back (comment lines are skipped).
  ProgramResult again = RunZeltctl({"macro-record", "--stop=1"}, decoded.out);
  ASSERT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(again.out, encoded.out);
}

TEST(MacroCommands, DriverRecordsRoundTripWithTheirRepeat) {
  ProgramResult encoded =
      RunZeltctl({"macro-record", "--driver", "--repeat=endless"}, "0150\n3 FB05\n0 50\n4 FBFB\n");
  ASSERT_EQ(encoded.exit_code, 0) << encoded.err;
  EXPECT_EQ(encoded.out.size(), 2016u * 3);
  EXPECT_EQ(encoded.out.substr(0, 3 * 12), "00 00 0a fd ff fb 05 fe 06 fb fb fc ");

  ProgramResult decoded = RunZeltctl({"macro-lines", "--driver", encoded.out.substr(0, 3 * 13)});
  ASSERT_EQ(decoded.exit_code, 0) << decoded.err;
  EXPECT_NE(decoded.out.find("repeat endless, checksum ok\n10\n3 FB05\n0 48\n4 FBFB\n"),
            std::string::npos)
      << decoded.out;
}

TEST(MacroCommands, RefuseMalformedInputWithoutPrintingARecord) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    std::string message;
  };
  std::string too_long;
  for (int i = 0; i < 111; ++i) too_long += "3 FB01\n";  // 222 event bytes
  const Case cases[] = {
      {{"macro-record"}, "00\n1 A CODE:8204\n3 FBFF\n", "line 3"},
      {{"macro-record"}, "0x1\n", "line 1"},
      {{"macro-record", "--repeat=0"}, "3 FB01\n", "--repeat"},
      {{"macro-record", "--stop=2"}, "3 FB01\n", "--stop"},
      {{"macro-record", "extra"}, "3 FB01\n", "standard input"},
      {{"macro-record"}, too_long, "at most 221"},
      {{"macro-lines", "01", "0"}, "", "hexadecimal"},
      {{"macro-lines", ZeroPairs(225)}, "", "225 bytes"},
      {{"macro-lines"}, "", "hexadecimal bytes"},
  };
  for (const auto& c : cases) {
    ProgramResult run = RunZeltctl(c.args, c.input);
    EXPECT_EQ(run.exit_code, 2) << ::testing::PrintToString(c.args);
    EXPECT_EQ(run.out, "") << ::testing::PrintToString(c.args);
    EXPECT_NE(run.err.find(c.message), std::string::npos)
        << ::testing::PrintToString(c.args) << ": " << run.err;
  }
}

}  // namespace
}  // namespace zelt
