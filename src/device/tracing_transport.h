#pragma once
// A transport decorator that writes every feature report as one line: "> " and the bytes handed to
// set-feature, "< " and the bytes get-feature returned, as lower-case hex pairs separated by single
// spaces. A transfer that failed gets " !" at the end of its line (for a failed get-feature, the
// bytes are those the buffer held).

#include <functional>
#include <string>

#include "device/hid_transport.h"

namespace zelt {

class TracingTransport final : public HidTransport {
 public:
  using Sink = std::function<void(const std::string& line)>;
  TracingTransport(HidTransport& inner, Sink sink);

  std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  const std::string& last_error() const override;

 private:
  HidTransport& inner_;
  Sink sink_;
};

}  // namespace zelt
