#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/run_program.h"

namespace zelt {
namespace {

using test_support::RunZeltctl;

TEST(ZeltctlCaption, PrintsTheCaptionOfACodeInTheChosenLanguage) {
  struct Case {
    std::vector<std::string> args;
    const char* caption;
  };
  const Case cases[] = {
      {{"caption", "020807"}, "Desktop\n"},
      {{"caption", "0A0700"}, "AIM\n"},
      {{"caption", "020100"}, "Ctrl+\n"},
      {{"caption", "0300cd"}, "\n"},  // lower-case digits match no fixed code
      {{"caption", "--lang=1", "0C0101"}, "AKM\n"},
  };
  for (const auto& c : cases) {
    auto run = RunZeltctl(c.args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, c.caption) << ::testing::PrintToString(c.args);
  }
  // Each language has its own wording, and the choice reaches the lookup.
  EXPECT_NE(RunZeltctl({"caption", "0A0700", "--lang=2"}).out, "AIM\n");
}

TEST(ZeltctlCaption, RejectsWhatIsNotACode) {
  for (auto args : std::vector<std::vector<std::string>>{{"caption"},
                                                         {"caption", "02080"},
                                                         {"caption", "0208077"},
                                                         {"caption", "02G807"},
                                                         {"caption", "020807", "--lang=4"},
                                                         {"caption", "020807", "010100"}}) {
    auto run = RunZeltctl(args);
    EXPECT_EQ(run.exit_code, 2) << ::testing::PrintToString(args);
    EXPECT_TRUE(run.out.empty());
  }
}

}  // namespace
}  // namespace zelt
