// zeltctl's configuration commands against the virtual mouse, as a person runs them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "config/builtin_images.h"
#include "support/run_program.h"
#include "util/file_io.h"

namespace zelt {
namespace {

using test_support::RunZeltctl;
using test_support::TempDir;
using ::testing::HasSubstr;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  return ReadFileBytes(path, 1 << 20).value_or(std::vector<std::uint8_t>{});
}

std::vector<std::uint8_t> Bytes(const DataBuf& image) { return {image.begin(), image.end()}; }

void WriteImage(const std::string& path, const DataBuf& image) {
  ASSERT_TRUE(WriteFileAtomic(path, image, nullptr));
}

TEST(ZeltctlConfig, SavedProfileLoadedIntoAnotherMouseMakesItEqual) {
  TempDir dir;
  DataBuf image = BuiltinImage(2);
  image[0x123] = 0x45;  // a macro page byte: only a full read and a whole-image write carry it
  image[0x5F0] = 0x67;
  WriteImage(dir.File("S"), image);
  const std::string folder = "--macro-folder=" + dir.path().string();
  auto save = RunZeltctl({"--virtual=" + dir.File("S"), folder, "save", dir.File("P.bin")});
  ASSERT_EQ(save.exit_code, 0) << save.err;
  EXPECT_EQ(ReadBytes(dir.File("P.bin")), Bytes(image));

  auto load = RunZeltctl({"--virtual=" + dir.File("S2"), folder, "load", dir.File("P.bin")});
  ASSERT_EQ(load.exit_code, 0) << load.err;
  EXPECT_EQ(ReadBytes(dir.File("S2")), ReadBytes(dir.File("S")));
}

TEST(ZeltctlConfig, ResetWithoutItsFileWritesImageOne) {
  TempDir dir;
  WriteImage(dir.File("S"), BuiltinImage(2));
  auto run = RunZeltctl(
      {"--virtual=" + dir.File("S"), "--macro-folder=" + dir.path().string(), "reset", "2"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadBytes(dir.File("S")), Bytes(BuiltinImage(1)));
}

TEST(ZeltctlConfig, ShowPrintsTheConfigurationAsTheEditorHasIt) {
  TempDir dir;
  WriteImage(dir.File("S"), BuiltinImage(2));
  auto text = RunZeltctl({"--virtual=" + dir.File("S"), "show"});
  ASSERT_EQ(text.exit_code, 0) << text.err;
  EXPECT_THAT(text.out, HasSubstr("key_mode: 1 (Office)"));
  EXPECT_THAT(text.out, HasSubstr("  1  010100  Left Click\n"));
  EXPECT_THAT(text.out, HasSubstr("dpi levels: 6, current level 2"));
  EXPECT_THAT(text.out, HasSubstr("  kind: MCULED"));
  EXPECT_THAT(text.out, HasSubstr("sensor_orientation: 180°"));
  auto json = RunZeltctl({"--virtual=" + dir.File("S"), "show", "--json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_THAT(json.out, HasSubstr("\"buttons_key_mode_2\":[{\"button\":1,\"code\":\"010100\""));
  EXPECT_THAT(json.out, HasSubstr("\"count\":6"));
  EXPECT_EQ(json.out.front(), '{');
}

TEST(ZeltctlConfig, ReadFullWritesTheWholeImage) {
  TempDir dir;
  DataBuf image = BuiltinImage(3);
  image[0x7FF] = 0x12;
  WriteImage(dir.File("S"), image);
  auto run = RunZeltctl({"--virtual=" + dir.File("S"), "read", "--full", dir.File("R.bin")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadBytes(dir.File("R.bin")), Bytes(image));
}

TEST(ZeltctlConfig, EveryOutcomeIsReportedWithANonZeroExit) {
  struct Case {
    const char* fault;
    const char* command;
    const char* text;
  };
  const Case cases[] = {
      {"codes=3:7", "show", "The mouse manufacturer or product id error"},
      {"notready", "apply", "Finding the specified device"},
      {"error=1:9", "read", "session refused"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    TempDir dir;
    auto run =
        RunZeltctl({"--virtual=" + dir.File("S"), std::string("--fault=") + c.fault, c.command});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_THAT(run.err, HasSubstr(c.text));
  }
  TempDir dir;
  auto missing = RunZeltctl({"--virtual=" + dir.File("S"), "load", dir.File("none.bin")});
  EXPECT_EQ(missing.exit_code, 3);
}

TEST(ZeltctlConfig, DriverModeProfileRoundTrip) {
  TempDir dir;
  const std::vector<std::string> driver = {"--virtual=" + dir.File("S"), "--mode=driver",
                                           "--macro-folder=" + dir.path().string()};
  auto with = [&driver](std::vector<std::string> args) {
    std::vector<std::string> all = driver;
    all.insert(all.end(), args.begin(), args.end());
    return RunZeltctl(all);
  };
  auto apply = with({"apply"});
  ASSERT_EQ(apply.exit_code, 0) << apply.err;
  auto save = with({"save", dir.File("D.bin")});
  ASSERT_EQ(save.exit_code, 0) << save.err;
  EXPECT_EQ(ReadBytes(dir.File("D.bin")).size(), 40960u);
  auto load = with({"load", dir.File("D.bin")});
  ASSERT_EQ(load.exit_code, 0) << load.err;
  auto show = with({"show"});
  ASSERT_EQ(show.exit_code, 0) << show.err;
  EXPECT_THAT(show.out, HasSubstr("storage_mode: driver"));
}

TEST(ZeltctlConfig, WatchPrintsStateChanges) {
  TempDir dir;
  auto run = RunZeltctl({"--virtual=" + dir.File("S"), "watch", "--for=1"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "searching\nconnected\n");
}

}  // namespace
}  // namespace zelt
