#include "device/linux/hidraw_monitor.h"

#include <gtest/gtest.h>
#include <poll.h>

namespace zelt {
namespace {

TEST(HidrawChangeFromEvent, KeepsOnlyNodesComingAndGoing) {
  using Kind = HidrawChange::Kind;
  EXPECT_EQ(HidrawChangeFromEvent("add", "/dev/hidraw3", "hidraw3"),
            (HidrawChange{Kind::kAdded, "/dev/hidraw3"}));
  EXPECT_EQ(HidrawChangeFromEvent("remove", "/dev/hidraw3", "hidraw3"),
            (HidrawChange{Kind::kRemoved, "/dev/hidraw3"}));
  // Without a node name in the event the node is found by the kernel name.
  EXPECT_EQ(HidrawChangeFromEvent("remove", nullptr, "hidraw4"),
            (HidrawChange{Kind::kRemoved, "/dev/hidraw4"}));
  for (const char* action : {"change", "bind", "unbind", "move", ""}) {
    EXPECT_EQ(HidrawChangeFromEvent(action, "/dev/hidraw3", "hidraw3"), std::nullopt) << action;
  }
  EXPECT_EQ(HidrawChangeFromEvent("add", nullptr, ""), std::nullopt);
}

TEST(HidrawMonitor, StartsOrSaysWhyNot) {
  // Sandboxes may deny netlink sockets; then the monitor reports why instead of failing later.
  std::string error;
  auto monitor = HidrawMonitor::Create(&error);
  if (!monitor) {
    EXPECT_FALSE(error.empty());
    return;
  }
  ASSERT_GE(monitor->fd(), 0);
  pollfd entry{monitor->fd(), POLLIN, 0};
  EXPECT_GE(::poll(&entry, 1, 0), 0);
  // Nothing is plugged in during the test, and draining must not block.
  EXPECT_TRUE(monitor->Drain().empty());
}

}  // namespace
}  // namespace zelt
