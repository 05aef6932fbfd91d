// zeltctl's memory commands, run as a person runs them, against the virtual mouse.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/builtin_images.h"
#include "support/run_program.h"
#include "util/file_io.h"

namespace zelt {
namespace {

using test_support::ReadText;
using test_support::RunZeltctl;
using test_support::TempDir;
using ::testing::HasSubstr;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  return ReadFileBytes(path, 1 << 20).value_or(std::vector<std::uint8_t>{});
}

TEST(Zeltctl, PeekPrintsTheCodesAndTracesTheSessionBracket) {
  TempDir dir;
  const std::string state = dir.File("S"), trace = dir.File("T");
  auto run = RunZeltctl({"--virtual=" + state, "--trace=" + trace, "peek", "0x36", "2"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "0036: ff ff\n");
  EXPECT_EQ(ReadText(trace),
            "> 04 01 00 00 00 00 00 00\n"
            "< 04 a6 00 00 00 00 00 cc\n"
            "> 04 03 00 00 00 00 00 00\n"
            "< 04 aa 04 35 00 00 00 cc\n"
            "> 04 04 36 00 02 00 00 00\n"
            "< 04 00 00 00 00 00 00 cc\n"
            "> 04 05 00 00 00 00 00 00\n"
            "< 04 ff ff ff ff ff ff cc\n"
            "> 04 08 00 00 00 00 00 00\n"
            "< 04 00 00 00 00 00 00 cc\n"
            "> 04 02 00 00 00 00 00 00\n"
            "< 04 00 00 00 00 00 00 cc\n");
  // The state file was created from built-in image 1.
  const DataBuf& image1 = BuiltinImage(1);
  EXPECT_EQ(ReadBytes(state), std::vector<std::uint8_t>(image1.begin(), image1.end()));
}

TEST(Zeltctl, PokeIsKeptInTheStateFileAndSeenByTheNextRun) {
  TempDir dir;
  const std::string state = "--virtual=" + dir.File("S");
  auto poke = RunZeltctl({state, "poke", "0x100", "a1 fe 03"});
  ASSERT_EQ(poke.exit_code, 0) << poke.err;
  EXPECT_EQ(poke.out, "wrote 3 bytes at 0x100\n");
  auto peek = RunZeltctl({state, "peek", "254", "6"});
  ASSERT_EQ(peek.exit_code, 0) << peek.err;
  EXPECT_EQ(peek.out, "00fe: ff ff a1 fe 03 00\n");
}

TEST(Zeltctl, DumpAndWriteImageMoveWholeImages) {
  TempDir dir;
  const std::string state = "--virtual=" + dir.File("S");
  std::vector<std::uint8_t> image(2048);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13);
  ASSERT_TRUE(WriteFileAtomic(dir.File("in.bin"), image));
  auto write = RunZeltctl({state, "write-image", dir.File("in.bin")});
  ASSERT_EQ(write.exit_code, 0) << write.err;
  auto dump = RunZeltctl({state, "dump", dir.File("out.bin")});
  ASSERT_EQ(dump.exit_code, 0) << dump.err;
  EXPECT_EQ(ReadBytes(dir.File("out.bin")), image);
}

TEST(Zeltctl, LastingDifferencesAreReportedAsFail) {
  TempDir dir;
  std::vector<std::uint8_t> image(BuiltinImage(1).begin(), BuiltinImage(1).end());
  image[0x200] = 0x42;
  ASSERT_TRUE(WriteFileAtomic(dir.File("in.bin"), image));
  auto run = RunZeltctl(
      {"--virtual=" + dir.File("S"), "--fault=stuck=0x200", "write-image", dir.File("in.bin")});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.err, HasSubstr("Fail"));
}

TEST(Zeltctl, RejectsBadCommandLinesWithExitCode2) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--virtual", "frobnicate"},
      {"--bogus", "devices"},
      {"--virtual", "peek", "0x800", "1"},
      {"--virtual", "peek", "0x7ff", "2"},
      {"--virtual", "peek", "0", "0"},
      {"--virtual", "peek", "0x36"},
      {"--virtual", "poke", "0", "a1f"},
      {"--virtual", "poke", "0", "zz"},
      {"--virtual", "--fault=warp=9", "peek", "0", "1"},
      {"--fault=busy=1", "peek", "0", "1"},
  };
  for (const auto& args : cases) {
    auto run = RunZeltctl(args);
    EXPECT_EQ(run.exit_code, 2) << ::testing::PrintToString(args);
    EXPECT_THAT(run.err, HasSubstr("zeltctl: ")) << ::testing::PrintToString(args);
    EXPECT_TRUE(run.out.empty());
  }
}

TEST(Zeltctl, DeviceFailuresExitWith1AndWriteNothing) {
  struct Case {
    const char* fault;
    const char* message;
  };
  for (Case c :
       {Case{"notready", "mouse not ready"}, Case{"memtype=0", "mouse not ready"},
        Case{"vanish=0", "session refused"}, Case{"version=0x0103", "no ZELT507K mouse found"},
        Case{"error=1:all", "session refused"}, Case{"error=4:all", "refused the read"},
        Case{"silent=2", "end of the session"}}) {
    TempDir dir;
    auto run =
        RunZeltctl({"--virtual", std::string("--fault=") + c.fault, "dump", dir.File("out")});
    EXPECT_EQ(run.exit_code, 1) << c.fault;
    EXPECT_THAT(run.err, HasSubstr(c.message)) << c.fault;
    EXPECT_FALSE(std::filesystem::exists(dir.File("out"))) << c.fault;
  }
}

TEST(Zeltctl, UnusableFilesExitWith3) {
  TempDir dir;
  std::ofstream(dir.File("short.bin")) << "only a few bytes";
  auto write = RunZeltctl({"--virtual", "write-image", dir.File("short.bin")});
  EXPECT_EQ(write.exit_code, 3);
  EXPECT_THAT(write.err, HasSubstr("exactly 2048"));

  auto state = RunZeltctl({"--virtual=" + dir.File("short.bin"), "peek", "0", "1"});
  EXPECT_EQ(state.exit_code, 3);
  EXPECT_EQ(ReadText(dir.File("short.bin")), "only a few bytes") << "a bad state is left alone";

  auto missing = RunZeltctl({"--virtual", "write-image", dir.File("absent.bin")});
  EXPECT_EQ(missing.exit_code, 3);
  EXPECT_THAT(missing.err, HasSubstr("absent.bin"));
}

}  // namespace
}  // namespace zelt
