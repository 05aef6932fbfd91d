#include "emulator/virtual_filter_driver.h"

#include "device/driver_memory.h"

namespace zelt {

class VirtualFilterDriver::Handle final : public DriverHandle {
 public:
  explicit Handle(VirtualFilterDriver& driver) : driver_(driver) {}
  bool Control(std::uint32_t code, std::span<const std::uint8_t> input,
               std::span<std::uint8_t> output) override {
    return driver_.Serve(code, input, output);
  }

 private:
  VirtualFilterDriver& driver_;
};

VirtualFilterDriver::VirtualFilterDriver(std::uint16_t driver_id, std::vector<std::uint8_t> memory)
    : path_(MakeDriverInterfacePath("\\\\?\\virtual#zelt507k-filter", driver_id)),
      memory_(std::move(memory)) {}

std::optional<std::vector<std::string>> VirtualFilterDriver::Enumerate() {
  return std::vector<std::string>{path_};
}

std::unique_ptr<DriverHandle> VirtualFilterDriver::Open(const std::string& path) {
  if (path != path_) return nullptr;
  return std::make_unique<Handle>(*this);
}

std::vector<std::uint8_t> VirtualFilterDriver::memory() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

void VirtualFilterDriver::set_memory(std::vector<std::uint8_t> memory) {
  std::lock_guard lock(mutex_);
  memory_ = std::move(memory);
}

std::vector<VirtualFilterDriver::Request> VirtualFilterDriver::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool VirtualFilterDriver::Serve(std::uint32_t code, std::span<const std::uint8_t> input,
                                std::span<std::uint8_t> output) {
  std::lock_guard lock(mutex_);
  if (auto range = ReadDriverRequestHeader(input)) {
    requests_.push_back({code, range->address, range->length});
  }
  return ServeDriverRequest(memory_, code, input, output);
}

}  // namespace zelt
