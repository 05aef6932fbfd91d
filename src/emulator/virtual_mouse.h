#pragma once
// A firmware-side model of the mouse behind the same transport interface as a real one: 2048 bytes
// of memory, every command of the protocol answered as the firmware does, and switchable faults.
// Tests, benchmarks and `--virtual` in both programs use it.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "config/config_image.h"
#include "device/device_link.h"
#include "device/hid_transport.h"
#include "emulator/virtual_mouse_faults.h"

namespace zelt {

class VirtualMouse final : public HidTransport {
 public:
  static constexpr const char* kPath = "virtual:zelt507k";

  explicit VirtualMouse(const DataBuf& memory, VirtualMouseFaults faults = {});
  ~VirtualMouse() override;

  // HidTransport
  std::optional<std::vector<HidInterfaceInfo>> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  const std::string& last_error() const override { return last_error_; }

  // Plugs the mouse in or pulls it out; an open handle stops working while it is out.
  void SetPresent(bool present);
  bool present() const;

  DataBuf memory() const;
  void set_memory(const DataBuf& memory);
  VirtualMouseFaults faults() const;
  void set_faults(const VirtualMouseFaults& faults);
  std::array<std::uint8_t, 4> driver_state() const;

  // Every request sent to the mouse, in order (the 8 bytes of each set-feature that arrived).
  std::vector<Report> requests() const;
  void ClearRequests();
  // Set-feature and get-feature transfers seen so far, failed ones included.
  std::uint64_t transfer_count() const;

 private:
  class Handle;
  friend class Handle;

  bool ArriveLocked();  // counts a transfer; false when the mouse is not there
  // Counts a transfer and applies the faults and checks every transfer meets.
  bool AdmitLocked(std::size_t length, std::uint8_t report_id, int& failures, const char* call,
                   std::string& error);
  bool HandleSet(std::span<const std::uint8_t> report, std::string& error);
  bool HandleGet(std::span<std::uint8_t> report, std::string& error);
  void ExecuteLocked(const Report& request);
  std::uint8_t LightingFamilyByteLocked() const;

  mutable std::mutex mutex_;
  DataBuf memory_;
  VirtualMouseFaults faults_;
  std::string last_error_;
  bool present_ = true;
  std::uint64_t transfers_ = 0;
  std::vector<Report> requests_;
  Report reply_{};
  int busy_polls_left_ = 0;
  bool never_finishes_ = false;
  // The block transfer announced by the last address command.
  std::uint16_t block_address_ = 0;
  std::uint16_t block_length_ = 0;
  std::uint16_t block_position_ = 0;
  std::array<std::uint8_t, 4> driver_state_{};
};

}  // namespace zelt
