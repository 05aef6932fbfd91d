#pragma once
// The presence watch: the handler both presence timers call. It counts the present HID
// interfaces and, when the count changed steadily, re-checks the open mouse (a drop) or tries to
// open one (a rise). A platform monitor of device arrival and removal calls the same handler at
// once, so a change is seen without waiting for the next tick.

#include "app/config_flows.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "device/flow_ui.h"

namespace zelt {

class PresenceWatch {
 public:
  PresenceWatch(DeviceLink& link, ConfigFlows& flows, FlowUi& ui, Clock& clock);

  // One run of the handler (`DevTimerTimer`). Returns at once when it is already running, as it
  // can be re-entered through the message processing inside the flows it starts.
  void DevTimerTimer();

  int remembered_count() const { return remembered_count_; }
  // What the last connect check that this handler started ended with.
  FlowOutcome last_outcome() const { return last_outcome_; }

 private:
  DeviceLink& link_;
  ConfigFlows& flows_;
  FlowUi& ui_;
  Clock& clock_;
  int remembered_count_ = 0;
  bool busy_ = false;
  FlowOutcome last_outcome_ = FlowOutcome::kDone;
};

}  // namespace zelt
