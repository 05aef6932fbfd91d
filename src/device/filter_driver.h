#pragma once
// The companion filter driver that holds the configuration in driver-only mode. It is reached by
// two control requests on its own interface; each request buffer starts with an 8-byte header:
// 32-bit little-endian address, then 32-bit little-endian length.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelt {

inline constexpr std::uint32_t kDriverReadRequest = 0x223E04;   // in/out: header, then the bytes
inline constexpr std::uint32_t kDriverWriteRequest = 0x223E08;  // in: header + bytes; no output
inline constexpr std::size_t kDriverHeaderSize = 8;

// One open filter-driver interface. Closed when destroyed.
class DriverHandle {
 public:
  virtual ~DriverHandle() = default;
  // One control request. `output` may be empty. For the read request `input` and `output` are
  // the same buffer, as the driver fills the bytes after the header in place.
  virtual bool Control(std::uint32_t code, std::span<const std::uint8_t> input,
                       std::span<std::uint8_t> output) = 0;
};

class FilterDriverTransport {
 public:
  virtual ~FilterDriverTransport() = default;
  // Paths of the present filter-driver interfaces; nothing when the list cannot be made.
  virtual std::optional<std::vector<std::string>> Enumerate() = 0;
  virtual std::unique_ptr<DriverHandle> Open(const std::string& path) = 0;
  // Called before the interface of `driver_id` is looked for. A driver installed with the system
  // has nothing to do; a stand-in creates its memory for the id here.
  virtual void Prepare(std::uint16_t /*driver_id*/) {}
};

// The driver id carried by an interface path: four hexadecimal characters, either case, at
// positions 55 to 58 counting from 1. Nothing when the path is shorter or they are not hex.
std::optional<std::uint16_t> DriverIdFromPath(std::string_view path);

// An interface path that carries `driver_id` as four upper-case hex digits at positions 55 to 58:
// `name`, cut or padded with '#' to 54 characters, then the id.
std::string MakeDriverInterfacePath(std::string_view name, std::uint16_t driver_id);

// The address and length a request buffer's header names.
struct DriverRequestRange {
  std::uint32_t address;
  std::uint32_t length;
};
// Nothing when the buffer is shorter than a header.
std::optional<DriverRequestRange> ReadDriverRequestHeader(std::span<const std::uint8_t> buffer);

// The header of a request for `length` bytes at `address`.
std::vector<std::uint8_t> DriverRequestHeader(std::uint32_t address, std::uint32_t length);

// Reads `destination.size()` bytes at `address` into `destination`. The request buffer starts
// zeroed and its outcome is not examined, so bytes the driver does not deliver read as 0.
void DriverRead(DriverHandle& driver, std::uint32_t address, std::span<std::uint8_t> destination);

// Stores the bytes at `address`.
void DriverWrite(DriverHandle& driver, std::uint32_t address, std::span<const std::uint8_t> bytes);

}  // namespace zelt
