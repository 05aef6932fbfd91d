#include "device/device_memory.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zelt {
namespace {

std::uint8_t Low(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }
std::uint8_t High(std::uint16_t value) { return static_cast<std::uint8_t>(value >> 8); }

unsigned ChunkCount(std::uint16_t length) {
  return static_cast<unsigned>((length + kBytesPerChunk - 1) / kBytesPerChunk);
}

bool ReadBlock(DeviceLink& link, FlowUi& ui, std::uint16_t address, std::uint16_t length,
               std::span<std::uint8_t> destination, bool show_progress) {
  std::fill(destination.begin(), destination.end(), 0xFF);
  if (!link.SendCommand(Command::SetReadAddressCmd, Low(address), High(address), Low(length),
                        High(length))) {
    return false;
  }
  const unsigned chunks = ChunkCount(length);
  for (unsigned i = 0; i < chunks; ++i) {
    if (show_progress) {
      ui.ShowProgress();
      ui.ProcessMessages();
    }
    link.ReadDataCmd();
    const std::size_t offset = i * kBytesPerChunk;
    const std::size_t count = std::min<std::size_t>(kBytesPerChunk, length - offset);
    if (offset < destination.size()) {
      const DataReply reply = link.data_reply();
      const std::size_t fits = std::min(count, destination.size() - offset);
      std::copy_n(reply.begin(), fits, destination.begin() + offset);
    }
    ui.ProcessMessages();
    if (show_progress) ui.ReportProgress(i + 1, chunks);
  }
  return true;
}

}  // namespace

bool ReadMemory(DeviceLink& link, FlowUi& ui, std::uint16_t address, std::uint16_t length,
                std::span<std::uint8_t> destination) {
  return ReadBlock(link, ui, address, length, destination, true);
}

bool ReadMemoryQuiet(DeviceLink& link, FlowUi& ui, std::uint16_t address, std::uint16_t length,
                     std::span<std::uint8_t> destination) {
  return ReadBlock(link, ui, address, length, destination, false);
}

bool WriteMemory(DeviceLink& link, FlowUi& ui, std::uint16_t address, std::uint16_t length,
                 std::span<const std::uint8_t> source) {
  if (source.size() < length) return false;
  // Not cleared between chunks: a short last chunk carries the previous chunk's tail, which the
  // mouse ignores as it lies past the announced length.
  std::array<std::uint8_t, 7> staging;
  staging.fill(0xFF);
  if (!link.SendCommand(Command::SetWriteAddressCmd, Low(address), High(address), Low(length),
                        High(length))) {
    return false;
  }
  const unsigned chunks = ChunkCount(length);
  for (unsigned i = 0; i < chunks; ++i) {
    ui.ShowProgress();
    ui.ProcessMessages();
    const std::size_t offset = i * kBytesPerChunk;
    const std::size_t count = std::min<std::size_t>(kBytesPerChunk, length - offset);
    std::copy_n(source.begin() + offset, count, staging.begin());
    ui.ProcessMessages();
    link.WriteDataCmd({staging[0], staging[1], staging[2], staging[3], staging[4], staging[5]});
    ui.ReportProgress(i + 1, chunks);
  }
  return true;
}

VerifiedWriteResult WriteImageVerified(DeviceLink& link, FlowUi& ui,
                                       std::span<const std::uint8_t, kDeviceMemorySize> image) {
  constexpr auto kSize = static_cast<std::uint16_t>(kDeviceMemorySize);
  ui.ShowProgress();
  std::vector<std::uint8_t> read_back(kDeviceMemorySize, 0xFF);
  if (!WriteMemory(link, ui, 0, kSize, image)) return VerifiedWriteResult::kInterrupted;

  auto differing = [&]() {
    std::vector<std::uint16_t> addresses;
    for (std::uint16_t a = 0; a < kSize; ++a) {
      if (read_back[a] != image[a]) addresses.push_back(a);
    }
    return addresses;
  };
  if (!ReadMemory(link, ui, 0, kSize, read_back)) return VerifiedWriteResult::kInterrupted;
  std::vector<std::uint16_t> addresses = differing();
  for (int pass = 0; pass < kRepairPasses && !addresses.empty(); ++pass) {
    for (std::uint16_t address : addresses) {
      if (!WriteMemory(link, ui, address, 1, image.subspan(address, 1))) {
        return VerifiedWriteResult::kInterrupted;
      }
    }
    if (!ReadMemory(link, ui, 0, kSize, read_back)) return VerifiedWriteResult::kInterrupted;
    addresses = differing();
  }
  if (addresses.empty()) return VerifiedWriteResult::kVerified;
  ui.ShowMessage("Str109");
  return VerifiedWriteResult::kFailed;
}

SessionStart OpenSession(DeviceLink& link) {
  SessionStart start;
  Report begin_reply{};
  start.begun = link.SendCommand(Command::BeginSessionCmd, begin_reply);
  start.begin_reply = begin_reply[1];
  if (!start.begun) return start;
  start.identified = link.SendCommand(Command::IdentifyCmd, start.identify_reply);
  if (!start.identified) return start;
  start.signature_ok = start.identify_reply[1] == kIdentifySignature;
  start.ready = (start.identify_reply[2] & kReadyFlag) != 0;
  start.memory_type = MemoryTypeCode(start.identify_reply[3]);
  return start;
}

bool CloseSession(DeviceLink& link) {
  bool reloaded = link.SendCommand(Command::SystemReloadCmd);
  bool ended = link.SendCommand(Command::EndSessionCmd);
  return reloaded && ended;
}

std::vector<int> ButtonsDown(std::uint16_t status_word) {
  static constexpr int kBitOfButton[9] = {0, 1, 2, 3, 4, 5, 8, 9, 10};
  std::vector<int> buttons;
  for (int b = 0; b < 9; ++b) {
    if (status_word & (1u << kBitOfButton[b])) buttons.push_back(b + 1);
  }
  return buttons;
}

}  // namespace zelt
