#include "device/filter_driver.h"

#include <algorithm>

#include "util/hex.h"

namespace zelt {
namespace {

void PutLittleEndian32(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetLittleEndian32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

std::optional<std::uint16_t> DriverIdFromPath(std::string_view path) {
  constexpr std::size_t kFirst = 54;  // position 55 counting from 1
  if (path.size() < kFirst + 4) return std::nullopt;
  std::uint16_t id = 0;
  for (std::size_t i = kFirst; i < kFirst + 4; ++i) {
    int digit = HexDigitValue(path[i]);
    if (digit < 0) return std::nullopt;
    id = static_cast<std::uint16_t>(id * 16 + digit);
  }
  return id;
}

std::string MakeDriverInterfacePath(std::string_view name, std::uint16_t driver_id) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string path(name.substr(0, 54));
  path.resize(54, '#');
  for (int shift = 12; shift >= 0; shift -= 4) path += kDigits[(driver_id >> shift) & 0xF];
  return path;
}

std::optional<DriverRequestRange> ReadDriverRequestHeader(std::span<const std::uint8_t> buffer) {
  if (buffer.size() < kDriverHeaderSize) return std::nullopt;
  return DriverRequestRange{GetLittleEndian32(buffer.data()), GetLittleEndian32(buffer.data() + 4)};
}

std::vector<std::uint8_t> DriverRequestHeader(std::uint32_t address, std::uint32_t length) {
  std::vector<std::uint8_t> header(kDriverHeaderSize);
  PutLittleEndian32(header.data(), address);
  PutLittleEndian32(header.data() + 4, length);
  return header;
}

void DriverRead(DriverHandle& driver, std::uint32_t address, std::span<std::uint8_t> destination) {
  std::vector<std::uint8_t> buffer =
      DriverRequestHeader(address, static_cast<std::uint32_t>(destination.size()));
  buffer.resize(kDriverHeaderSize + destination.size(), 0);
  driver.Control(kDriverReadRequest, buffer, buffer);
  std::copy(buffer.begin() + kDriverHeaderSize, buffer.end(), destination.begin());
}

void DriverWrite(DriverHandle& driver, std::uint32_t address, std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> buffer =
      DriverRequestHeader(address, static_cast<std::uint32_t>(bytes.size()));
  buffer.insert(buffer.end(), bytes.begin(), bytes.end());
  driver.Control(kDriverWriteRequest, buffer, {});
}

}  // namespace zelt
