// Runs the built zeltctl for the macro commands, as a user would from a shell.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct CliRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Runs `zeltctl ARGS` with `input` on standard input.
CliRun Zeltctl(const std::string& args, const std::string& input = "") {
  std::string base = ::testing::TempDir() + "zeltctl_macro_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::ofstream(base + ".in", std::ios::binary) << input;
  std::string command = std::string(ZELTCTL_PATH) + " " + args + " < " + base + ".in > " + base +
                        ".out 2> " + base + ".err";
  int status = std::system(command.c_str());
  CliRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadAll(base + ".out");
  run.err = ReadAll(base + ".err");
  return run;
}

std::string ZeroPairs(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += " 00";
  return text;
}

TEST(MacroCommands, EncodeAndDecodeRoundTripThroughTheCommandLine) {
  CliRun encoded = Zeltctl("macro-record --stop=1", "1 A CODE:8204\r\n0 100\n\n2 A CODE:0204\n");
  ASSERT_EQ(encoded.exit_code, 0) << encoded.err;
  EXPECT_EQ(encoded.out, "01 07 82 04 fe 0c 02 04 c7" + ZeroPairs(224 - 9) + "\n");

  // A short record is zero-filled; its lines, rows and checksum are shown.
  CliRun decoded = Zeltctl("macro-lines '01 07 82 04 FE 0C 02 04 C7'");
  ASSERT_EQ(decoded.exit_code, 0) << decoded.err;
  EXPECT_NE(decoded.out.find("# stop mode 1, repeat none, checksum ok\n10\n"), std::string::npos)
      << decoded.out;
  EXPECT_NE(decoded.out.find("CODE:8204\n0 96\n"), std::string::npos) << decoded.out;
  EXPECT_NE(decoded.out.find("# row 1, icon 0: 96 ms\n"), std::string::npos) << decoded.out;

  // What macro-lines prints is input macro-record takes back (comment lines are skipped).
  CliRun again = Zeltctl("macro-record --stop=1", decoded.out);
  ASSERT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(again.out, encoded.out);
}

TEST(MacroCommands, DriverRecordsRoundTripWithTheirRepeat) {
  CliRun encoded =
      Zeltctl("macro-record --driver --repeat=endless", "0150\n3 FB05\n0 50\n4 FBFB\n");
  ASSERT_EQ(encoded.exit_code, 0) << encoded.err;
  EXPECT_EQ(encoded.out.size(), 2016u * 3);
  EXPECT_EQ(encoded.out.substr(0, 3 * 12), "00 00 0a fd ff fb 05 fe 06 fb fb fc ");

  CliRun decoded = Zeltctl("macro-lines --driver " + encoded.out.substr(0, 3 * 13));
  ASSERT_EQ(decoded.exit_code, 0) << decoded.err;
  EXPECT_NE(decoded.out.find("repeat endless, checksum ok\n10\n3 FB05\n0 48\n4 FBFB\n"),
            std::string::npos)
      << decoded.out;
}

TEST(MacroCommands, RefuseMalformedInputWithoutPrintingARecord) {
  struct Case {
    std::string args;
    std::string input;
    std::string message;
  };
  std::string too_long;
  for (int i = 0; i < 111; ++i) too_long += "3 FB01\n";  // 222 event bytes
  const Case cases[] = {
      {"macro-record", "00\n1 A CODE:8204\n3 FBFF\n", "line 3"},
      {"macro-record", "0x1\n", "line 1"},
      {"macro-record --repeat=0", "3 FB01\n", "--repeat"},
      {"macro-record --stop=2", "3 FB01\n", "--stop"},
      {"macro-record extra", "3 FB01\n", "standard input"},
      {"macro-record", too_long, "at most 221"},
      {"macro-lines 01 0", "", "hexadecimal"},
      {"macro-lines" + ZeroPairs(225), "", "225 bytes"},
      {"macro-lines", "", "hexadecimal bytes"},
  };
  for (const auto& c : cases) {
    CliRun run = Zeltctl(c.args, c.input);
    EXPECT_EQ(run.exit_code, 2) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
  }
}

}  // namespace
