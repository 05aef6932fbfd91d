// The presence watch: stable-pair counting, a drop re-checking the open mouse, a rise opening one,
// and the busy flag.

#include "app/presence_watch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "support/app_rig.h"

namespace zelt {
namespace {

using test_support::Byte;

// Another HID device beside the mouse (a keyboard): it opens, but speaks no mouse protocol.
class OtherDevice final : public HidDevice {
 public:
  bool SetFeature(std::span<const std::uint8_t>) override { return false; }
  bool GetFeature(std::span<std::uint8_t>) override { return false; }
  const std::string& last_error() const override { return error_; }

 private:
  std::string error_ = "not a mouse";
};

// The virtual mouse plus a number of other interfaces that a script may vary from one listing
// to the next, to show counts that are not stable.
class CountingTransport final : public HidTransport {
 public:
  explicit CountingTransport(VirtualMouse& mouse) : mouse_(mouse) {}

  std::optional<std::vector<HidInterfaceInfo>> Enumerate() override {
    auto list = mouse_.Enumerate();
    if (!list) list.emplace();
    int others = others_;
    if (!script_.empty()) {
      others = script_.front();
      script_.pop_front();
    }
    for (int i = 0; i < others; ++i) {
      list->push_back({"other-" + std::to_string(i), 0x1234, 0x0001, 0x0100, 9});
    }
    return list;
  }
  std::unique_ptr<HidDevice> Open(const std::string& path) override {
    if (path.rfind("other-", 0) == 0) return std::make_unique<OtherDevice>();
    return mouse_.Open(path);
  }
  const std::string& last_error() const override { return mouse_.last_error(); }

  void set_others(int others) { others_ = others; }
  // The numbers of other interfaces the next listings show, one per listing.
  void Script(std::initializer_list<int> others) { script_.assign(others); }

 private:
  VirtualMouse& mouse_;
  int others_ = 0;
  std::deque<int> script_;
};

// The mouse among a scripted number of other devices; built before the window parts use its link.
template <typename Ui>
struct CountedMouse {
  CountedMouse() : mouse(BuiltinImage(1)), transport(mouse), link(transport, nullptr, clock) {}

  std::vector<std::uint8_t> Commands() const { return test_support::CommandsOf(mouse); }

  VirtualClock clock;
  VirtualMouse mouse;
  CountingTransport transport;
  DeviceLink link;
  Ui ui;
};

template <typename Ui = test_support::RecordingUi>
struct WatchRig : CountedMouse<Ui>, test_support::WindowParts {
  WatchRig() : test_support::WindowParts(this->link, this->ui, this->clock) { flows.Start(); }
};

TEST(PresenceWatchTest, FirstTickOpensTheMouseAndReadsIt) {
  WatchRig<> rig;
  rig.watch.DevTimerTimer();
  EXPECT_EQ(rig.watch.remembered_count(), 1);
  EXPECT_EQ(rig.state.connection, ConnectionState::kConnected);
  EXPECT_FALSE(rig.state.startup_timer_running);
  EXPECT_TRUE(rig.state.presence_timer_running);
  // Three 10 ms pauses before the open, then the connect check.
  const auto& pauses = rig.clock.pauses();
  ASSERT_GE(pauses.size(), 3u);
  EXPECT_EQ(std::vector<std::uint32_t>(pauses.begin(), pauses.begin() + 3),
            (std::vector<std::uint32_t>{10, 10, 10}));
  EXPECT_EQ(rig.Commands().front(), Byte(Command::BeginSessionCmd));
}

TEST(PresenceWatchTest, StartUpWithOnlyOtherDevicesEntersTheNoDeviceState) {
  WatchRig<> rig;
  rig.mouse.SetPresent(false);
  rig.transport.set_others(2);
  rig.watch.DevTimerTimer();
  EXPECT_EQ(rig.watch.remembered_count(), 2);
  EXPECT_EQ(rig.state.connection, ConnectionState::kNoDevice);
  EXPECT_EQ(rig.ui.messages, std::vector<std::string>{"Str100+Str101"});
  EXPECT_TRUE(rig.state.presence_timer_running);
  EXPECT_FALSE(rig.state.startup_timer_running);
  // Later ticks with the same count do nothing.
  rig.watch.DevTimerTimer();
  EXPECT_EQ(rig.ui.messages.size(), 1u);
}

TEST(PresenceWatchTest, ChangesCountOnlyWithTwoStablePairsOfFive) {
  // Each pair is two listings; the count is the first of the last pair.
  struct Case {
    std::initializer_list<int> others;
    bool handled;
  };
  const Case cases[] = {
      {{0, 1, 0, 1, 0, 1, 0, 1, 1, 1}, false},  // one stable pair
      {{0, 1, 0, 1, 0, 1, 1, 1, 1, 1}, true},   // two stable pairs
  };
  for (const auto& c : cases) {
    WatchRig<> rig;
    rig.mouse.SetPresent(false);
    rig.transport.Script(c.others);
    rig.watch.DevTimerTimer();
    EXPECT_EQ(rig.watch.remembered_count(), c.handled ? 1 : 0);
    EXPECT_EQ(rig.state.connection,
              c.handled ? ConnectionState::kNoDevice : ConnectionState::kSearching);
  }
}

TEST(PresenceWatchTest, KeyboardArrivingWhileConnectedIsOnlyCountedAndMouseRemovalIsSeen) {
  WatchRig<> rig;
  rig.watch.DevTimerTimer();
  ASSERT_EQ(rig.state.connection, ConnectionState::kConnected);
  rig.mouse.ClearRequests();

  rig.transport.set_others(1);
  rig.watch.DevTimerTimer();
  EXPECT_EQ(rig.watch.remembered_count(), 2);
  EXPECT_TRUE(rig.Commands().empty());
  EXPECT_EQ(rig.state.connection, ConnectionState::kConnected);

  rig.mouse.SetPresent(false);
  rig.watch.DevTimerTimer();
  EXPECT_EQ(rig.watch.remembered_count(), 1);
  EXPECT_EQ(rig.state.connection, ConnectionState::kNoDevice);
  EXPECT_FALSE(rig.link.has_device());
  EXPECT_EQ(rig.link.vendor_id(), 0);
  EXPECT_EQ(rig.ui.messages, std::vector<std::string>{"Str100+Str101"});

  // The mouse comes back: the rise opens and reads it again.
  rig.mouse.SetPresent(true);
  rig.watch.DevTimerTimer();
  EXPECT_EQ(rig.state.connection, ConnectionState::kConnected);
  EXPECT_TRUE(rig.link.has_device());
}

TEST(PresenceWatchTest, DropOfAnotherDeviceKeepsTheMouse) {
  WatchRig<> rig;
  rig.transport.set_others(1);
  rig.watch.DevTimerTimer();
  ASSERT_EQ(rig.state.connection, ConnectionState::kConnected);
  rig.transport.set_others(0);
  rig.watch.DevTimerTimer();
  EXPECT_EQ(rig.watch.remembered_count(), 1);
  EXPECT_EQ(rig.state.connection, ConnectionState::kConnected);
  EXPECT_TRUE(rig.link.has_device());
}

// A flow UI whose message processing fires the presence timer, as a real event loop may.
class ReentrantUi final : public test_support::RecordingUi {
 public:
  void ProcessMessages() override {
    ++pumps;
    if (watch) watch->DevTimerTimer();
  }
  PresenceWatch* watch = nullptr;
};

TEST(PresenceWatchTest, HandlerReenteredThroughMessageProcessingReturnsAtOnce) {
  WatchRig<ReentrantUi> rig;
  rig.ui.watch = &rig.watch;
  rig.watch.DevTimerTimer();
  EXPECT_GT(rig.ui.pumps, 0);
  EXPECT_EQ(rig.state.connection, ConnectionState::kConnected);
  // One connect check: a single begin-session in the whole run.
  const auto commands = rig.Commands();
  EXPECT_EQ(std::count(commands.begin(), commands.end(), Byte(Command::BeginSessionCmd)), 1);
}

}  // namespace
}  // namespace zelt
