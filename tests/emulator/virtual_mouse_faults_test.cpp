#include "emulator/virtual_mouse_faults.h"

#include <gtest/gtest.h>

namespace zelt {
namespace {

TEST(VirtualMouseFaults, ParsesEachFaultOfTheHelpText) {
  VirtualMouseFaults f;
  std::string error;
  ASSERT_TRUE(ParseVirtualMouseFaults(
      "busy=2,error=5:3,error=0x81:all,silent=8,setfail=1,getfail=all,notready,memtype=0,"
      "begin=0xA5,nodriverflag,codes=3:7,stuck=0x10-0x12:2,vanish=40,version=0x0103,featlen=9,"
      "extra=2,driverid=0x1A2B,buttons=0x0301",
      f, &error))
      << error;
  EXPECT_EQ(f.busy_polls, 2);
  EXPECT_EQ(f.error_replies.at(5), 3);
  EXPECT_EQ(f.error_replies.at(0x81), VirtualMouseFaults::kAlways);
  EXPECT_EQ(f.silent_command, 8);
  EXPECT_EQ(f.set_failures, 1);
  EXPECT_EQ(f.get_failures, VirtualMouseFaults::kAlways);
  EXPECT_TRUE(f.not_ready);
  EXPECT_EQ(f.identify_byte3, 0);
  EXPECT_EQ(f.begin_reply, 0xA5);
  EXPECT_TRUE(f.no_driver_flag);
  EXPECT_EQ(f.codes, std::make_pair(std::uint8_t{3}, std::uint8_t{7}));
  EXPECT_EQ(f.stuck.size(), 3u);
  EXPECT_EQ(f.stuck.at(0x11), 2);
  EXPECT_EQ(f.vanish_after, 40);
  EXPECT_EQ(f.version, 0x0103);
  EXPECT_EQ(f.feature_length, 9);
  EXPECT_EQ(f.extra_interfaces, 2);
  EXPECT_EQ(f.driver_id, 0x1A2B);
  EXPECT_EQ(f.buttons, 0x0301);
}

TEST(VirtualMouseFaults, RejectsMalformedFaultsWithTheirText) {
  for (const char* bad : {"busy", "busy=x", "error=5", "error=300:1", "stuck=0x800",
                          "stuck=0x12-0x10", "codes=1", "notready=1", "teleport", "silent=0x100"}) {
    VirtualMouseFaults f;
    std::string error;
    EXPECT_FALSE(ParseVirtualMouseFaults(bad, f, &error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace zelt
