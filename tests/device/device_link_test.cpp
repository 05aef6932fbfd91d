#include "device/device_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/mouse_rig.h"

namespace zelt {
namespace {

using test_support::MouseRig;
using test_support::ParseFaults;
using ::testing::Each;
using ::testing::ElementsAre;

TEST(SendCommand, CompletesAfterOneBusyPollWithOnePollPause) {
  MouseRig rig(ParseFaults("busy=1"));
  ASSERT_TRUE(rig.opened);
  EXPECT_TRUE(rig.link.SendCommand(Command::BeginSessionCmd));
  EXPECT_THAT(rig.clock.pauses(), ElementsAre(10, 10));
  EXPECT_EQ(rig.mouse.requests().size(), 1u);
  EXPECT_EQ(rig.link.report()[1], 0xA6);
}

TEST(SendCommand, FailureStatusStartsAFreshAttemptAndFiveOfThemFail) {
  MouseRig rig(ParseFaults("error=8:5"));
  EXPECT_FALSE(rig.link.SendCommand(Command::SystemReloadCmd, 1, 2, 3, 4));
  auto requests = rig.mouse.requests();
  ASSERT_EQ(requests.size(), 5u);
  for (const auto& request : requests) {
    EXPECT_EQ(request, (Report{4, 8, 1, 2, 3, 4, 0, 0}));
  }
  // A non-zero status ends the polling at once: one pause per attempt.
  EXPECT_THAT(rig.clock.pauses(), ElementsAre(10, 10, 10, 10, 10));

  MouseRig four(ParseFaults("error=8:4"));
  EXPECT_TRUE(four.link.SendCommand(Command::SystemReloadCmd));
  EXPECT_EQ(four.mouse.requests().size(), 5u);
}

TEST(Exchanges, NeverFinishingCostsTheirWholeBudget) {
  struct Case {
    const char* name;
    std::function<bool(DeviceLink&)> run;
    std::uint64_t budget_ms;
    std::size_t requests;
  };
  const Case cases[] = {
      {"SendCommand", [](DeviceLink& l) { return l.SendCommand(Command::IdentifyCmd); }, 300, 5},
      {"WriteDataCmd",
       [](DeviceLink& l) {
         return l.WriteDataCmd({1, 2, 3, 4, 5, 6});
       },
       175, 5},
      {"ReadDataCmd",
       [](DeviceLink& l) {
         l.ReadDataCmd();
         return l.data_reply() != DataReply{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
       },
       150, 5},
      {"ReadKeyStatus", [](DeviceLink& l) { return l.ReadKeyStatus() != 0; }, 550, 10},
  };
  for (const auto& c : cases) {
    MouseRig rig(ParseFaults("silent,buttons=0x0301"));
    EXPECT_FALSE(c.run(rig.link)) << c.name;
    EXPECT_EQ(rig.clock.total_paused_ms(), c.budget_ms) << c.name;
    EXPECT_EQ(rig.mouse.requests().size(), c.requests) << c.name;
  }
}

TEST(Exchanges, WithoutADeviceFailAtOnceWithoutTransfers) {
  VirtualClock clock;
  VirtualMouse mouse(BuiltinImage(1));
  DeviceLink link(mouse, nullptr, clock);
  EXPECT_FALSE(link.SendCommand(Command::BeginSessionCmd));
  EXPECT_FALSE(link.WriteDataCmd({}));
  EXPECT_EQ(link.ReadKeyStatus(), 0);
  link.ReadDataCmd();
  EXPECT_THAT(link.data_reply(), Each(0xFF));
  EXPECT_EQ(mouse.transfer_count(), 0u);
  EXPECT_TRUE(clock.pauses().empty());
}

TEST(ReadDataCmd, CopiesReplyBytesAndRunsTheMessagePumpOnlyOnSuccess) {
  MouseRig rig;
  int pumps = 0;
  rig.link.SetMessagePump([&] { ++pumps; });
  ASSERT_TRUE(rig.link.SendCommand(Command::SetReadAddressCmd, 0x30, 0, 6, 0));
  rig.link.ReadDataCmd();
  EXPECT_EQ(rig.link.data_reply(), (DataReply{0x01, 0xFE, 0x42, 0xBD, 0x00, 0xFF, 0xCC}));
  EXPECT_EQ(pumps, 1);

  rig.mouse.set_faults(ParseFaults("error=5:all"));
  rig.link.ReadDataCmd();
  EXPECT_THAT(rig.link.data_reply(), Each(0xFF));
  EXPECT_EQ(pumps, 1);
}

TEST(Exchanges, FailedTransfersAreRetriedNotBelieved) {
  // A lost set-feature costs one attempt; a lost get-feature counts as "not finished yet".
  MouseRig set_lost(ParseFaults("setfail=1"));
  EXPECT_TRUE(set_lost.link.SendCommand(Command::EndSessionCmd));
  EXPECT_THAT(set_lost.clock.pauses(), ElementsAre(10, 10));

  MouseRig get_lost(ParseFaults("getfail=2"));
  // The data byte 0xCC in report byte 7 must not be mistaken for a status after a failed fetch.
  EXPECT_TRUE(get_lost.link.WriteDataCmd({0, 0, 0, 0, 0, 0xCC}));
  EXPECT_THAT(get_lost.clock.pauses(), ElementsAre(10, 5, 5));
}

TEST(ReadKeyStatus, ReturnsTheButtonWordInTheKeyPollersRhythm) {
  MouseRig rig(ParseFaults("buttons=0x0301,busy=1"));
  EXPECT_EQ(rig.link.ReadKeyStatus(), 0x0301);
  // 5 ms before the set-feature, 5 ms before each of the two reads.
  EXPECT_THAT(rig.clock.pauses(), ElementsAre(5, 5, 5));
  EXPECT_EQ(rig.mouse.requests().front(), (Report{4, 3, 0, 0, 0, 0, 0, 0}));
}

// A transport with several interfaces that records opens and closes.
class ListTransport : public HidTransport {
 public:
  struct Entry {
    HidInterfaceInfo info;
    bool openable = true;
  };
  explicit ListTransport(std::vector<Entry> entries) : entries_(std::move(entries)) {}
  std::optional<std::vector<HidInterfaceInfo>> Enumerate() override {
    std::vector<HidInterfaceInfo> list;
    for (const auto& e : entries_) list.push_back(e.info);
    return list;
  }
  std::unique_ptr<HidDevice> Open(const std::string& path) override {
    for (const auto& e : entries_) {
      if (e.info.path == path && e.openable) {
        ++open_count;
        return std::make_unique<Device>(path, *this);
      }
    }
    return nullptr;
  }
  const std::string& last_error() const override { return error_; }

  int open_count = 0;
  std::vector<std::string> closed;
  std::string last_set_path;

 private:
  struct Device : HidDevice {
    Device(std::string p, ListTransport& t) : path(std::move(p)), owner(t) {}
    ~Device() override { owner.closed.push_back(path); }
    bool SetFeature(std::span<const std::uint8_t>) override {
      owner.last_set_path = path;
      return true;
    }
    bool GetFeature(std::span<std::uint8_t> r) override {
      r[7] = kStatusDone;
      return true;
    }
    const std::string& last_error() const override { return owner.error_; }
    std::string path;
    ListTransport& owner;
  };
  std::vector<Entry> entries_;
  std::string error_;
};

TEST(OpenDevice, TakesOnlyExactIdentityWithAnEightByteReportAndTheLastMatchWins) {
  const std::uint16_t v = kMouseVendorId, p = kMouseProductId;
  ListTransport transport({
      {{"keyboard", 0x046D, 0xC31C, 0x0110, 8}},
      {{"long-report", v, p, 0x0104, 9}},
      {{"old-firmware", v, p, 0x0103, 8}},
      {{"first-match", v, p, 0x0104, 8}},
      {{"unopenable-match", v, p, 0x0104, 8}, false},
      {{"second-match", v, p, 0x0104, 8}},
  });
  VirtualClock clock;
  DeviceLink link(transport, nullptr, clock);
  std::uint16_t version = 0x0104;
  ASSERT_TRUE(link.OpenDevice(v, p, version));
  EXPECT_EQ(version, 0x0104);
  EXPECT_EQ(link.feature_length(), 8);
  EXPECT_EQ(link.vendor_id(), v);
  // Everything opened but the last match is closed again, the earlier match included.
  EXPECT_EQ(transport.open_count, 5);
  EXPECT_THAT(transport.closed,
              ElementsAre("keyboard", "long-report", "old-firmware", "first-match"));
  ASSERT_TRUE(link.SendCommand(Command::EndSessionCmd));
  EXPECT_EQ(transport.last_set_path, "second-match");

  std::uint16_t wanted = 0x0105;
  EXPECT_FALSE(link.OpenDevice(v, p, wanted));
  EXPECT_TRUE(link.has_device()) << "a failed open keeps the open mouse";
}

TEST(CountDevices, CountsTheInterfacesThatOpen) {
  ListTransport transport({{{"a", 1, 1, 1, 8}}, {{"b", 1, 2, 1, 8}, false}, {{"c", 2, 2, 1, 0}}});
  VirtualClock clock;
  DeviceLink link(transport, nullptr, clock);
  EXPECT_EQ(link.CountDevices(), 2);
  EXPECT_EQ(transport.closed.size(), 2u);

  VirtualMouse mouse(BuiltinImage(1), ParseFaults("extra=3"));
  DeviceLink virtual_link(mouse, nullptr, clock);
  EXPECT_EQ(virtual_link.CountDevices(), 4);
}

TEST(OpenDriverDevice, FindsTheInterfaceCarryingTheDriverId) {
  VirtualClock clock;
  VirtualMouse mouse(BuiltinImage(1));
  VirtualFilterDriver driver(0x1A2B);
  DeviceLink link(mouse, &driver, clock);
  EXPECT_FALSE(link.OpenDriverDevice(0x1A2C));
  EXPECT_FALSE(link.has_driver());
  EXPECT_TRUE(link.OpenDriverDevice(0x1A2B));
  EXPECT_TRUE(link.has_driver());
}

TEST(DriverIdFromPath, ReadsFourHexDigitsAtPositions55To58) {
  const std::string prefix(54, 'x');
  EXPECT_EQ(DriverIdFromPath(prefix + "1A2B"), 0x1A2B);
  EXPECT_EQ(DriverIdFromPath(prefix + "1a2b#rest"), 0x1A2B);
  EXPECT_EQ(DriverIdFromPath(prefix + "1A2"), std::nullopt);
  EXPECT_EQ(DriverIdFromPath(prefix + "1A2G"), std::nullopt);
  EXPECT_EQ(DriverIdFromPath("1A2B"), std::nullopt);
}

TEST(MemoryTypeCode, MapsTheThreeKnownCodesAndNothingElse) {
  EXPECT_EQ(MemoryTypeCode(0x35), 0x90);
  EXPECT_EQ(MemoryTypeCode(0x75), 0x99);
  EXPECT_EQ(MemoryTypeCode(0xFD), 0x98);
  for (int b : {0x00, 0x34, 0x36, 0x90, 0xFF})
    EXPECT_EQ(MemoryTypeCode(static_cast<std::uint8_t>(b)), 0) << b;
}

// Checks that no two exchanges overlap on the wire: each set-feature must be followed by its own
// gets before another set-feature from any thread.
TEST(DeviceLink, KeepsExchangesFromTwoThreadsSerial) {
  MouseRig rig;
  std::atomic<bool> stop{false};
  std::jthread poller([&] {
    while (!stop) rig.link.ReadKeyStatus();
  });
  // Ends the poller however the loop ends, so a failed assertion reports instead of aborting.
  struct Stop {
    std::atomic<bool>& stop;
    ~Stop() { stop = true; }
  } stop_on_exit{stop};
  for (int i = 0; i < 200; ++i) {
    Report report{};
    ASSERT_TRUE(rig.link.SendCommand(Command::DriverIdCmd, report));
    ASSERT_EQ(report[1], 0x5A);  // the reply to this command, not to the poller's
    ASSERT_EQ(report[2], 0x30);
  }
}

}  // namespace
}  // namespace zelt
