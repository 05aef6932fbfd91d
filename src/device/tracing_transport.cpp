#include "device/tracing_transport.h"

#include "util/hex.h"

namespace zelt {
namespace {

class TracingDevice final : public HidDevice {
 public:
  TracingDevice(std::unique_ptr<HidDevice> inner, const TracingTransport::Sink& sink)
      : inner_(std::move(inner)), sink_(sink) {}

  bool SetFeature(std::span<const std::uint8_t> report) override {
    bool ok = inner_->SetFeature(report);
    Write("> ", report, ok);
    return ok;
  }
  bool GetFeature(std::span<std::uint8_t> report) override {
    bool ok = inner_->GetFeature(report);
    Write("< ", report, ok);
    return ok;
  }
  const std::string& last_error() const override { return inner_->last_error(); }

 private:
  void Write(const char* direction, std::span<const std::uint8_t> report, bool ok) {
    sink_(direction + FormatHexBytes(report) + (ok ? "" : " !"));
  }

  std::unique_ptr<HidDevice> inner_;
  const TracingTransport::Sink& sink_;
};

}  // namespace

TracingTransport::TracingTransport(HidTransport& inner, Sink sink)
    : inner_(inner), sink_(std::move(sink)) {}

std::optional<std::vector<HidInterfaceInfo>> TracingTransport::Enumerate() {
  return inner_.Enumerate();
}

std::unique_ptr<HidDevice> TracingTransport::Open(const std::string& path) {
  auto device = inner_.Open(path);
  if (!device) return nullptr;
  return std::make_unique<TracingDevice>(std::move(device), sink_);
}

const std::string& TracingTransport::last_error() const { return inner_.last_error(); }

}  // namespace zelt
