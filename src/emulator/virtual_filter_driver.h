#pragma once
// The companion filter driver as a test peer: one interface whose path carries the driver id the
// virtual mouse announces, and driver memory held in memory.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/filter_driver.h"

namespace zelt {

class VirtualFilterDriver final : public FilterDriverTransport {
 public:
  explicit VirtualFilterDriver(std::uint16_t driver_id, std::vector<std::uint8_t> memory = {});

  std::optional<std::vector<std::string>> Enumerate() override;
  std::unique_ptr<DriverHandle> Open(const std::string& path) override;

  std::vector<std::uint8_t> memory() const;
  void set_memory(std::vector<std::uint8_t> memory);
  // Requests served so far, as (code, address, length).
  struct Request {
    std::uint32_t code;
    std::uint32_t address;
    std::uint32_t length;
  };
  std::vector<Request> requests() const;

 private:
  class Handle;
  bool Serve(std::uint32_t code, std::span<const std::uint8_t> input,
             std::span<std::uint8_t> output);

  const std::string path_;
  mutable std::mutex mutex_;
  std::vector<std::uint8_t> memory_;
  std::vector<Request> requests_;
};

}  // namespace zelt
