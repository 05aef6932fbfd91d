#include "app/presence_watch.h"

namespace zelt {
namespace {

constexpr int kCountPairs = 5;
constexpr int kStablePairsNeeded = 2;
constexpr int kArrivalPauses = 3;
constexpr std::uint32_t kArrivalPauseMs = 10;

}  // namespace

PresenceWatch::PresenceWatch(DeviceLink& link, ConfigFlows& flows, FlowUi& ui, Clock& clock)
    : link_(link), flows_(flows), ui_(ui), clock_(clock) {}

void PresenceWatch::DevTimerTimer() {
  if (busy_) return;
  busy_ = true;
  int stable_pairs = 0;
  int count = 0;
  for (int pair = 0; pair < kCountPairs; ++pair) {
    count = link_.CountDevices();
    if (link_.CountDevices() == count) ++stable_pairs;
  }
  if (count != remembered_count_ && stable_pairs >= kStablePairsNeeded) {
    if (count < remembered_count_) {
      // An interface went away: is the mouse still there?
      std::uint16_t version = link_.version();
      if (!link_.OpenDevice(link_.vendor_id(), link_.product_id(), version)) {
        flows_.EnterNoDevice();
        link_.ForgetDevice();
      }
    } else if (!link_.has_device()) {
      for (int i = 0; i < kArrivalPauses; ++i) {
        clock_.SleepMs(kArrivalPauseMs);
        ui_.ProcessMessages();
      }
      std::uint16_t version = kMouseVersion;
      if (link_.OpenDevice(kMouseVendorId, kMouseProductId, version)) {
        last_outcome_ = flows_.ReadDevInfo(false);
      } else {
        flows_.EnterNoDevice();
      }
    }
    remembered_count_ = count;
  }
  busy_ = false;
}

}  // namespace zelt
