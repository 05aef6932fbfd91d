// zeltctl commands that talk to the mouse memory directly: devices, peek, poke, dump, write-image.

#include <cstdio>
#include <optional>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "config/config_image.h"
#include "device/device_memory.h"
#include "util/file_io.h"
#include "util/hex.h"

namespace zelt::cli {
namespace {

std::optional<std::uint16_t> ParseAddress(const std::string& text) {
  auto value = ParseNumber(text);
  if (!value || *value >= kImageSize) return std::nullopt;
  return static_cast<std::uint16_t>(*value);
}

// Opens the mouse and the command bracket; true when transfers may follow (the caller then
// closes the session). Prints the reason and sets `code` otherwise.
bool StartSession(DeviceSession& device, int& code) {
  code = kExitDevice;
  if (!device.OpenMouse()) return false;
  SessionStart start = OpenSession(device.link());
  if (!start.begun) {
    Fail(kExitDevice, "session refused: the mouse did not complete begin-session");
    return false;
  }
  if (!start.identified) {
    Fail(kExitDevice, "session refused: the mouse did not complete identify");
    return false;
  }
  if (!start.signature_ok) {
    Fail(kExitDevice, "session refused: the mouse did not identify itself");
    return false;
  }
  if (!start.ready || start.memory_type == 0) {
    CloseSession(device.link());
    Fail(kExitDevice, start.ready ? "mouse not ready: unknown memory type" : "mouse not ready");
    return false;
  }
  return true;
}

bool EndSession(DeviceSession& device, int& code) {
  if (CloseSession(device.link())) return true;
  code = Fail(kExitDevice, "the mouse did not complete the end of the session");
  return false;
}

DeviceSession* Connect(Context& context, int& code) {
  if (!context.device) context.device = DeviceSession::Create(context.options, &code);
  return context.device.get();
}

void PrintHexDump(std::uint16_t address, std::span<const std::uint8_t> bytes) {
  for (std::size_t i = 0; i < bytes.size(); i += 16) {
    auto line = bytes.subspan(i, std::min<std::size_t>(16, bytes.size() - i));
    std::printf("%04zx: %s\n", address + i, FormatHexBytes(line).c_str());
  }
}

int Devices(Context& context, std::span<const std::string> args) {
  if (!args.empty()) return Fail(kExitUsage, "devices takes no arguments");
  int code = kExitOk;
  DeviceSession* device = Connect(context, code);
  if (!device) return code;
  auto interfaces = device->transport().Enumerate();
  if (!interfaces)
    return Fail(kExitDevice, "cannot list HID interfaces: " + device->transport().last_error());
  if (interfaces->empty()) std::printf("no HID interfaces\n");
  for (const auto& info : *interfaces) {
    const bool is_mouse = InterfaceMatches(info, kMouseVendorId, kMouseProductId, kMouseVersion);
    std::printf("%s  %04x:%04x  version %04x  feature report %u bytes%s\n", info.path.c_str(),
                info.vendor_id, info.product_id, info.version, info.feature_length,
                is_mouse ? "  ZELT507K" : "");
  }
  return kExitOk;
}

int Peek(Context& context, std::span<const std::string> args) {
  if (args.size() != 2) return Fail(kExitUsage, "usage: peek ADDRESS LENGTH");
  auto address = ParseAddress(args[0]);
  auto length = ParseNumber(args[1]);
  if (!address) return Fail(kExitUsage, "ADDRESS must be a number from 0 to 0x7ff");
  if (!length || *length == 0 || *address + *length > kImageSize) {
    return Fail(kExitUsage, "LENGTH must be at least 1 and stay inside the 2048-byte memory");
  }
  int code = kExitOk;
  DeviceSession* device = Connect(context, code);
  if (!device || !StartSession(*device, code)) return code;
  std::vector<std::uint8_t> bytes(*length);
  if (!ReadMemoryQuiet(device->link(), device->ui(), *address, static_cast<std::uint16_t>(*length),
                       bytes)) {
    CloseSession(device->link());
    return Fail(kExitDevice, "the mouse refused the read address");
  }
  if (!EndSession(*device, code)) return code;
  PrintHexDump(*address, bytes);
  return kExitOk;
}

int Poke(Context& context, std::span<const std::string> args) {
  if (args.size() != 2) return Fail(kExitUsage, "usage: poke ADDRESS HEXBYTES");
  auto address = ParseAddress(args[0]);
  auto bytes = ParseHexBytes(args[1]);
  if (!address) return Fail(kExitUsage, "ADDRESS must be a number from 0 to 0x7ff");
  if (!bytes || bytes->empty()) {
    return Fail(kExitUsage, "HEXBYTES must be pairs of hexadecimal digits, e.g. \"a1fe03\"");
  }
  if (*address + bytes->size() > kImageSize) {
    return Fail(kExitUsage, "the bytes must stay inside the 2048-byte memory");
  }
  int code = kExitOk;
  DeviceSession* device = Connect(context, code);
  if (!device || !StartSession(*device, code)) return code;
  if (!WriteMemory(device->link(), device->ui(), *address,
                   static_cast<std::uint16_t>(bytes->size()), *bytes)) {
    CloseSession(device->link());
    return Fail(kExitDevice, "the mouse refused the write address");
  }
  device->ui().HideProgress();
  if (!EndSession(*device, code)) return code;
  std::printf("wrote %zu byte%s at 0x%03x\n", bytes->size(), bytes->size() == 1 ? "" : "s",
              *address);
  return kExitOk;
}

int Dump(Context& context, std::span<const std::string> args) {
  if (args.size() != 1) return Fail(kExitUsage, "usage: dump FILE");
  int code = kExitOk;
  DeviceSession* device = Connect(context, code);
  if (!device || !StartSession(*device, code)) return code;
  DataBuf image;
  bool read = ReadMemory(device->link(), device->ui(), 0, kImageSize, image);
  device->ui().HideProgress();
  if (!read) {
    CloseSession(device->link());
    return Fail(kExitDevice, "the mouse refused the read address");
  }
  if (!EndSession(*device, code)) return code;
  std::string error;
  if (!WriteFileAtomic(args[0], image, &error)) return Fail(kExitFile, error);
  return kExitOk;
}

int WriteImage(Context& context, std::span<const std::string> args) {
  if (args.size() != 1) return Fail(kExitUsage, "usage: write-image FILE");
  std::string error;
  auto bytes = ReadFileBytes(args[0], kImageSize + 1, &error);
  if (!bytes) return Fail(kExitFile, error);
  if (bytes->size() != kImageSize) {
    return Fail(kExitFile, args[0] + " holds " + std::to_string(bytes->size()) +
                               " bytes; an image has exactly 2048");
  }
  DataBuf image;
  std::copy(bytes->begin(), bytes->end(), image.begin());
  int code = kExitOk;
  DeviceSession* device = Connect(context, code);
  if (!device || !StartSession(*device, code)) return code;
  VerifiedWriteResult result = WriteImageVerified(device->link(), device->ui(), image);
  device->ui().HideProgress();
  if (result == VerifiedWriteResult::kInterrupted) {
    CloseSession(device->link());
    return Fail(kExitDevice, "the mouse refused an address command; the write is incomplete");
  }
  if (!EndSession(*device, code)) return code;
  // A lasting difference was already told as the "Fail" message.
  return result == VerifiedWriteResult::kVerified ? kExitOk : kExitDevice;
}

constexpr Command kCommands[] = {
    {"devices", "", "list the HID interfaces and mark the mouse", Devices},
    {"peek", "ADDRESS LENGTH", "read LENGTH bytes of mouse memory and print them in hex", Peek},
    {"poke", "ADDRESS HEXBYTES", "write bytes to mouse memory (no read-back)", Poke},
    {"dump", "FILE", "read the whole 2048-byte memory into FILE", Dump},
    {"write-image", "FILE", "write a 2048-byte image, read it back and repair differences",
     WriteImage},
};

}  // namespace

std::span<const Command> DeviceCommands() { return kCommands; }

}  // namespace zelt::cli
