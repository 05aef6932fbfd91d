#pragma once
// Block transfers between the mouse's 2048-byte memory and the host: an address command names the
// address and length once, then six bytes move per exchange. Also the whole-image write with
// read-back and repair, and the command bracket that every access sits in.

#include <cstdint>
#include <span>
#include <vector>

#include "device/device_link.h"
#include "device/flow_ui.h"

namespace zelt {

inline constexpr std::size_t kDeviceMemorySize = 2048;
inline constexpr std::size_t kBytesPerChunk = 6;
inline constexpr int kRepairPasses = 3;

// Fills all of `destination` with 0xFF, then reads `length` bytes from `address` into its start
// (never more than it holds), showing the progress window before each chunk. A chunk that cannot
// be read stays 0xFF. False only when the address command was refused; nothing else is sent then.
bool ReadMemory(DeviceLink& link, FlowUi& ui, std::uint16_t address, std::uint16_t length,
                std::span<std::uint8_t> destination);
// The same without the progress window.
bool ReadMemoryQuiet(DeviceLink& link, FlowUi& ui, std::uint16_t address, std::uint16_t length,
                     std::span<std::uint8_t> destination);

// Writes the first `length` bytes of `source` to `address`, showing the progress window before
// each chunk. The status of the data exchanges is not examined (only a read-back finds a lost
// chunk). False when the address command was refused, or when `source` is shorter than `length`
// (then nothing is sent).
bool WriteMemory(DeviceLink& link, FlowUi& ui, std::uint16_t address, std::uint16_t length,
                 std::span<const std::uint8_t> source);

enum class VerifiedWriteResult {
  kVerified,     // the mouse holds the image (possibly after repair passes)
  kInterrupted,  // an address command was refused; no message is shown
  kFailed,       // differences survived every repair pass; "Str109" was shown
};

// Writes all 2048 bytes of `image` to address 0, reads them back and rewrites each differing byte
// alone, up to three passes, re-reading after each. Reports a lasting failure to the user itself.
VerifiedWriteResult WriteImageVerified(DeviceLink& link, FlowUi& ui,
                                       std::span<const std::uint8_t, kDeviceMemorySize> image);

// What the opening commands of a session found out.
struct SessionStart {
  bool begun = false;            // BeginSessionCmd answered 0xCC
  std::uint8_t begin_reply = 0;  // its reply byte 1 (0xA6 expected in driver-only flows)
  bool identified = false;       // IdentifyCmd answered 0xCC
  bool signature_ok = false;     // identify reply byte 1 is 0xAA
  bool ready = false;            // identify reply byte 2, bit 2
  std::uint8_t memory_type = 0;  // identify reply byte 3 mapped; 0 when unknown
  Report identify_reply{};

  // The flow may go on to its checks and transfers (and must then close the session).
  bool usable() const { return begun && identified && signature_ok; }
};

// BeginSessionCmd, then IdentifyCmd with no parameters (skipped when the first failed).
SessionStart OpenSession(DeviceLink& link);
// SystemReloadCmd, then EndSessionCmd. True when both answered 0xCC.
bool CloseSession(DeviceLink& link);

// The buttons (1..9) whose bits are set in a button status word, in increasing order.
// Bits 0..5 are buttons 1..6, bits 8..10 buttons 7..9; the other bits carry nothing.
std::vector<int> ButtonsDown(std::uint16_t status_word);

}  // namespace zelt
