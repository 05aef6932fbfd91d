#include "cli/device_session.h"

#include <filesystem>

#include "config/builtin_images.h"
#include "device/driver_memory.h"
#include "device/platform.h"
#include "device/tracing_transport.h"
#include "emulator/virtual_filter_driver.h"
#include "emulator/virtual_mouse.h"
#include "util/file_io.h"

namespace zelt::cli {
namespace {

std::string DriverStatePath(const std::string& state_path) { return state_path + ".driver"; }

}  // namespace

std::string FaultHelp() { return VirtualMouseFaultHelp(); }

DeviceSession::~DeviceSession() {
  link_.reset();  // closes the device before the transports go
  if (trace_) std::fclose(trace_);
}

std::unique_ptr<DeviceSession> DeviceSession::Create(const GlobalOptions& options, int* exit_code) {
  std::unique_ptr<DeviceSession> session(new DeviceSession());
  session->language_ = Language::LoadBuiltIn(1).value_or(Language());
  session->ui_.set_texts(&session->language_);
  if (options.use_virtual) {
    VirtualMouseFaults faults;
    for (const auto& spec : options.faults) {
      std::string error;
      if (!ParseVirtualMouseFaults(spec, faults, &error)) {
        *exit_code = Fail(kExitUsage, error);
        return nullptr;
      }
    }
    DataBuf memory = BuiltinImage(1);
    std::vector<std::uint8_t> driver_memory;
    session->state_path_ = options.virtual_state;
    if (!session->state_path_.empty() && std::filesystem::exists(session->state_path_)) {
      std::string error;
      auto bytes = ReadFileBytes(session->state_path_, kImageSize + 1, &error);
      if (!bytes) {
        *exit_code = Fail(kExitFile, error);
        return nullptr;
      }
      if (bytes->size() != kImageSize) {
        *exit_code = Fail(kExitFile, "virtual mouse state " + session->state_path_ +
                                         " must hold exactly 2048 bytes");
        return nullptr;
      }
      std::copy(bytes->begin(), bytes->end(), memory.begin());
      const std::string driver_path = DriverStatePath(session->state_path_);
      if (std::filesystem::exists(driver_path)) {
        auto driver_bytes = ReadFileBytes(driver_path, kMaxDriverMemory, &error);
        if (!driver_bytes) {
          *exit_code = Fail(kExitFile, error);
          return nullptr;
        }
        driver_memory = std::move(*driver_bytes);
      }
    }
    auto mouse = std::make_unique<VirtualMouse>(memory, faults);
    auto driver = std::make_unique<VirtualFilterDriver>(faults.driver_id, std::move(driver_memory));
    session->virtual_mouse_ = mouse.get();
    session->virtual_driver_ = driver.get();
    session->base_transport_ = std::move(mouse);
    session->driver_transport_ = std::move(driver);
  } else {
    session->base_transport_ = CreatePlatformTransport();
    session->driver_transport_ = CreatePlatformFilterDriver();
    if (!session->base_transport_) {
      *exit_code = Fail(kExitDevice, "no HID transport on this platform; use --virtual");
      return nullptr;
    }
  }
  HidTransport* transport = session->base_transport_.get();
  if (!options.trace_path.empty()) {
    session->trace_ = std::fopen(options.trace_path.c_str(), "w");
    if (!session->trace_) {
      *exit_code = Fail(kExitFile, "cannot write the trace file " + options.trace_path);
      return nullptr;
    }
    std::FILE* trace = session->trace_;
    session->tracing_ = std::make_unique<TracingTransport>(
        *transport,
        [trace](const std::string& line) { std::fprintf(trace, "%s\n", line.c_str()); });
    transport = session->tracing_.get();
  }
  session->link_ =
      std::make_unique<DeviceLink>(*transport, session->driver_transport_.get(), session->clock_);
  return session;
}

HidTransport& DeviceSession::transport() {
  if (tracing_) return *tracing_;
  return *base_transport_;
}

bool DeviceSession::OpenMouse() {
  std::uint16_t version = kMouseVersion;
  if (link_->OpenDevice(kMouseVendorId, kMouseProductId, version)) return true;
  std::string reason = transport().last_error();
  Fail(kExitDevice, "no ZELT507K mouse found (2e7a:08a0 version 0104 with 8-byte feature reports)" +
                        (reason.empty() ? std::string() : ": " + reason));
  return false;
}

bool DeviceSession::Finish(std::string* error) {
  if (trace_) std::fflush(trace_);
  if (!virtual_mouse_ || state_path_.empty()) return true;
  const DataBuf memory = virtual_mouse_->memory();
  if (!WriteFileAtomic(state_path_, memory, error)) return false;
  const auto driver_memory = virtual_driver_->memory();
  if (driver_memory.empty()) return true;
  return WriteFileAtomic(DriverStatePath(state_path_), driver_memory, error);
}

}  // namespace zelt::cli
