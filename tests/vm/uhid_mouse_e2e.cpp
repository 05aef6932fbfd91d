// End-to-end check of the hidraw transport against a real kernel. The virtual mouse is put behind
// /dev/uhid, so the kernel builds a HID device with a hidraw node for it; the HidrawTransport and
// DeviceLink the programs use then find it through sysfs and talk to it with the feature ioctls,
// and every report crosses the kernel on its way to the model and back.
//
// Needs write access to /dev/uhid and the hid, uhid and hid-generic drivers; tests/vm/run.sh runs
// it as init's child inside a throwaway virtual machine. Prints one line per check and a closing
// "N passed, M failed" line; exits 0 only when every check passed.

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "app/app_state.h"
#include "app/config_flows.h"
#include "app/language.h"
#include "app/presence_watch.h"
#include "config/builtin_images.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "device/device_memory.h"
#include "device/flow_ui.h"
#include "device/linux/hidraw_transport.h"
#include "emulator/virtual_mouse.h"

namespace zelt {
namespace {

using namespace std::chrono_literals;

// A three-button wheel mouse (report 1) and the vendor-defined configuration channel: feature
// report 4 with seven data bytes, so the feature report is 8 bytes long with its id.
constexpr std::uint8_t kReportDescriptor[] = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x01,        //   Report ID (1)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)
    0x05, 0x09,        //     Usage Page (Button)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x03,        //     Usage Maximum (3)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x95, 0x03,        //     Report Count (3)
    0x75, 0x01,        //     Report Size (1)
    0x81, 0x02,        //     Input (Data, Variable, Absolute)
    0x95, 0x01,        //     Report Count (1)
    0x75, 0x05,        //     Report Size (5)
    0x81, 0x03,        //     Input (Constant)
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x09, 0x38,        //     Usage (Wheel)
    0x15, 0x81,        //     Logical Minimum (-127)
    0x25, 0x7F,        //     Logical Maximum (127)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x03,        //     Report Count (3)
    0x81, 0x06,        //     Input (Data, Variable, Relative)
    0xC0,              //   End Collection
    0xC0,              // End Collection
    0x06, 0x00, 0xFF,  // Usage Page (Vendor Defined 0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x04,        //   Report ID (4)
    0x09, 0x02,        //   Usage (2)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x07,        //   Report Count (7)
    0xB1, 0x02,        //   Feature (Data, Variable, Absolute)
    0xC0,              // End Collection
};

std::string ErrnoText(int err) { return std::generic_category().message(err); }

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// The checks and their tally.
class Checks {
 public:
  bool Check(const std::string& name, bool ok, const std::string& detail = {}) {
    (ok ? passed_ : failed_)++;
    std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", name.c_str(), detail.empty() ? "" : ": ",
                detail.c_str());
    std::fflush(stdout);
    return ok;
  }
  void Note(const std::string& text) {
    std::printf("     %s\n", text.c_str());
    std::fflush(stdout);
  }
  int Finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    std::fflush(stdout);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

// One HID device created through /dev/uhid. A thread answers the kernel's feature requests by
// handing the report bytes to a HidDevice (the virtual mouse) and its verdict back.
class UhidDevice {
 public:
  UhidDevice() = default;
  ~UhidDevice() {
    StopServing();
    if (fd_ >= 0) ::close(fd_);  // closing also destroys a device still present
  }
  UhidDevice(const UhidDevice&) = delete;
  UhidDevice& operator=(const UhidDevice&) = delete;

  bool Open(std::string& error) {
    fd_ = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
      error = "open /dev/uhid: " + ErrnoText(errno);
      return false;
    }
    return true;
  }

  // Starts answering requests before the device exists, since the kernel may ask while it binds
  // the driver.
  void Serve(HidDevice& model) {
    model_ = &model;
    serving_ = true;
    thread_ = std::thread([this] { ServeLoop(); });
  }

  void StopServing() {
    serving_ = false;
    if (thread_.joinable()) thread_.join();
  }

  bool Create(std::string& error) {
    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof(uhid_event));
    event->type = UHID_CREATE2;
    auto& create = event->u.create2;
    const char name[] = "ZELT507K virtual mouse";
    std::memcpy(create.name, name, sizeof name);
    const char phys[] = "uhid-e2e/input0";
    std::memcpy(create.phys, phys, sizeof phys);
    create.rd_size = sizeof kReportDescriptor;
    create.bus = BUS_USB;
    create.vendor = kMouseVendorId;
    create.product = kMouseProductId;
    create.version = kMouseVersion;
    create.country = 0;
    std::memcpy(create.rd_data, kReportDescriptor, sizeof kReportDescriptor);
    return Write(*event, "UHID_CREATE2", error);
  }

  bool Destroy(std::string& error) {
    uhid_event event;
    std::memset(&event, 0, sizeof event);
    event.type = UHID_DESTROY;
    return Write(event, "UHID_DESTROY", error);
  }

  unsigned set_reports() const { return set_reports_; }
  unsigned get_reports() const { return get_reports_; }
  unsigned refused() const { return refused_; }
  const std::string& serve_error() const { return serve_error_; }

 private:
  bool Write(const uhid_event& event, const char* what, std::string& error) {
    ssize_t written;
    do {
      written = ::write(fd_, &event, sizeof event);
    } while (written < 0 && errno == EINTR);
    if (written != static_cast<ssize_t>(sizeof event)) {
      error =
          std::string("write ") + what + ": " + (written < 0 ? ErrnoText(errno) : "short write");
      return false;
    }
    return true;
  }

  void ServeLoop() {
    auto event = std::make_unique<uhid_event>();
    auto reply = std::make_unique<uhid_event>();
    while (serving_) {
      pollfd ready{fd_, POLLIN, 0};
      const int polled = ::poll(&ready, 1, 50);
      if (polled < 0 && errno != EINTR) {
        serve_error_ = "poll /dev/uhid: " + ErrnoText(errno);
        return;
      }
      if (polled <= 0) continue;
      const ssize_t got = ::read(fd_, event.get(), sizeof(uhid_event));
      if (got < 0) {
        if (errno == EINTR || errno == EAGAIN) continue;
        serve_error_ = "read /dev/uhid: " + ErrnoText(errno);
        return;
      }
      if (got < static_cast<ssize_t>(sizeof event->type)) continue;
      std::memset(reply.get(), 0, sizeof(uhid_event));
      std::string error;
      switch (event->type) {
        case UHID_GET_REPORT: {
          const std::uint32_t id = event->u.get_report.id;
          const std::uint8_t number = event->u.get_report.rnum;
          const bool feature = event->u.get_report.rtype == UHID_FEATURE_REPORT;
          Report report{};
          report[0] = number;
          const bool ok = feature && model_->GetFeature(report);
          ++get_reports_;
          if (!ok) ++refused_;
          reply->type = UHID_GET_REPORT_REPLY;
          reply->u.get_report_reply.id = id;
          reply->u.get_report_reply.err = ok ? 0 : EIO;
          reply->u.get_report_reply.size = ok ? static_cast<std::uint16_t>(report.size()) : 0;
          if (ok) std::memcpy(reply->u.get_report_reply.data, report.data(), report.size());
          if (!Write(*reply, "UHID_GET_REPORT_REPLY", error)) serve_error_ = error;
          break;
        }
        case UHID_SET_REPORT: {
          const std::uint32_t id = event->u.set_report.id;
          const bool feature = event->u.set_report.rtype == UHID_FEATURE_REPORT;
          const std::size_t size = std::min<std::size_t>(event->u.set_report.size, UHID_DATA_MAX);
          std::vector<std::uint8_t> bytes(event->u.set_report.data,
                                          event->u.set_report.data + size);
          const bool ok = feature && model_->SetFeature(bytes);
          ++set_reports_;
          if (!ok) ++refused_;
          reply->type = UHID_SET_REPORT_REPLY;
          reply->u.set_report_reply.id = id;
          reply->u.set_report_reply.err = ok ? 0 : EIO;
          if (!Write(*reply, "UHID_SET_REPORT_REPLY", error)) serve_error_ = error;
          break;
        }
        default:
          break;  // start, stop, open, close and output reports need no answer
      }
    }
  }

  int fd_ = -1;
  HidDevice* model_ = nullptr;
  std::thread thread_;
  std::atomic<bool> serving_{false};
  std::atomic<unsigned> set_reports_{0};
  std::atomic<unsigned> get_reports_{0};
  std::atomic<unsigned> refused_{0};
  std::string serve_error_;  // written by the serving thread, read after it has stopped
};

bool IsMouse(const HidInterfaceInfo& info) {
  return info.vendor_id == kMouseVendorId && info.product_id == kMouseProductId;
}

std::optional<HidInterfaceInfo> FindMouse(HidrawTransport& transport) {
  auto interfaces = transport.Enumerate();
  if (!interfaces) return std::nullopt;
  for (const auto& info : *interfaces) {
    if (IsMouse(info)) return info;
  }
  return std::nullopt;
}

std::string Describe(const HidInterfaceInfo& info) {
  return info.path + " " + Hex(info.vendor_id, 4) + ":" + Hex(info.product_id, 4) + " release " +
         Hex(info.version, 4) + ", feature length " + std::to_string(info.feature_length);
}

std::string Bytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (auto byte : bytes) text += (text.empty() ? "" : " ") + Hex(byte, 2);
  return text;
}

// Waits until the mouse is listed (`present`) or no longer listed.
bool AwaitMouse(HidrawTransport& transport, bool present) {
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < 30s) {
    const auto found = FindMouse(transport);
    std::error_code ec;
    if (present == (found && std::filesystem::exists(found->path, ec))) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

// The window's presence watch on the real stack: counting hidraw interfaces finds the mouse when
// it arrives, reads it, and notices when it goes.
void CheckPresenceWatch(Checks& checks, UhidDevice& uhid, HidrawTransport& transport,
                        VirtualMouse& mouse, const DataBuf& memory) {
  SteadyClock clock;
  FlowUi ui;
  DeviceLink link(transport, nullptr, clock);
  const Language language = Language::LoadBuiltIn(1).value();
  Settings settings;
  settings.rev_manu_id = memory[0x36];  // the model's codes are the reserved pair
  settings.rev_pro_id = memory[0x37];
  AppState state(settings, language, ".");
  ConfigFlows flows(state, link, ui, clock);
  PresenceWatch watch(link, flows, ui, clock);
  mouse.set_memory(memory);

  flows.Start();
  watch.DevTimerTimer();
  const bool searching = state.connection == ConnectionState::kSearching ||
                         state.connection == ConnectionState::kNoDevice;
  checks.Check("presence watch: no mouse at start", searching && !link.has_device(),
               ConnectionStateName(state.connection));

  std::string error;
  const bool created = uhid.Create(error) && AwaitMouse(transport, true);
  checks.Check("presence watch: mouse plugged in", created, error);
  watch.DevTimerTimer();
  const bool read = std::equal(memory.begin(), memory.begin() + 0xFF, state.data_buf.begin());
  checks.Check("presence watch: a rise opens the mouse and reads its configuration",
               state.connection == ConnectionState::kConnected && read && link.has_device(),
               std::string(ConnectionStateName(state.connection)) + ", remembered count " +
                   std::to_string(watch.remembered_count()));

  const bool destroyed = uhid.Destroy(error) && AwaitMouse(transport, false);
  checks.Check("presence watch: mouse unplugged", destroyed, error);
  watch.DevTimerTimer();
  checks.Check("presence watch: a drop finds the mouse gone",
               state.connection == ConnectionState::kNoDevice && !link.has_device() &&
                   state.presence_timer_running,
               ConnectionStateName(state.connection));
}

int Run() {
  Checks checks;
  SteadyClock clock;
  FlowUi ui;
  HidrawTransport transport;
  DeviceLink link(transport, nullptr, clock);

  // Codes other than 0xFF, which is also what a failed read leaves behind.
  DataBuf memory = BuiltinImage(1);
  memory[0x36] = 0x3C;
  memory[0x37] = 0xC3;
  VirtualMouse mouse(memory);
  auto model = mouse.Open(VirtualMouse::kPath);
  if (!model) {
    checks.Check("virtual mouse opens", false, mouse.last_error());
    return checks.Finish();
  }

  const int baseline = link.CountDevices();
  checks.Note("interfaces present before the mouse: " + std::to_string(baseline));

  UhidDevice uhid;
  std::string error;
  if (!checks.Check("open /dev/uhid", uhid.Open(error), error)) return checks.Finish();
  uhid.Serve(*model);
  if (!checks.Check("create uhid device 2E7A:08A0 release 0104", uhid.Create(error), error)) {
    return checks.Finish();
  }

  // The kernel adds the device from a worker; the node follows once hidraw has bound.
  const auto start = std::chrono::steady_clock::now();
  std::optional<HidInterfaceInfo> found;
  while (std::chrono::steady_clock::now() - start < 30s) {
    found = FindMouse(transport);
    std::error_code ec;
    if (found && std::filesystem::exists(found->path, ec)) break;
    found.reset();
    std::this_thread::sleep_for(20ms);
  }
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  if (!checks.Check("hidraw node appears", found.has_value(),
                    found ? found->path + " after " + std::to_string(waited.count()) + " ms"
                          : "none within 30 s " + transport.last_error())) {
    return checks.Finish();
  }

  checks.Check("enumeration reports the mouse's identity and feature length",
               found->version == kMouseVersion && found->feature_length == kMouseFeatureLength,
               Describe(*found));

  std::uint16_t version = kMouseVersion;
  const bool opened = link.OpenDevice(kMouseVendorId, kMouseProductId, version);
  checks.Check("OpenDevice opens the mouse", opened && link.feature_length() == kMouseFeatureLength,
               opened ? "" : transport.last_error());

  const SessionStart session = OpenSession(link);
  checks.Check("session opens (begin, identify with signature)", session.usable(),
               "reply " + Bytes(session.identify_reply));

  std::array<std::uint8_t, 2> codes{};
  const bool read = ReadMemoryQuiet(link, ui, 0x36, 2, codes);
  const DataBuf before = mouse.memory();
  checks.Check(
      "ReadMemoryQuiet(0x36, 2) returns the model's codes",
      read && codes[0] == before[0x36] && codes[1] == before[0x37],
      "read " + Bytes(codes) + ", model holds " + Bytes(std::span(before).subspan(0x36, 2)));

  DataBuf pattern;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    pattern[i] = static_cast<std::uint8_t>((i * 37 + (i >> 8) * 11 + 0x5A) & 0xFF);
  }
  const auto write_start = std::chrono::steady_clock::now();
  const VerifiedWriteResult written = WriteImageVerified(link, ui, pattern);
  const auto write_ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - write_start)
                            .count();
  const DataBuf after = mouse.memory();
  const auto mismatches = static_cast<std::size_t>(std::count_if(
      pattern.begin(), pattern.end(),
      [&, i = std::size_t{0}](std::uint8_t byte) mutable { return after[i++] != byte; }));
  checks.Check("WriteImageVerified stores a pattern image in the model",
               written == VerifiedWriteResult::kVerified && mismatches == 0,
               std::to_string(mismatches) + " bytes differ, " + std::to_string(write_ms) + " ms");

  checks.Check("session closes (reload, end)", CloseSession(link));

  const int counted = link.CountDevices();
  checks.Check("CountDevices counts the interface", counted == baseline + 1,
               std::to_string(counted) + " counted, " + std::to_string(baseline + 1) + " expected");

  // A second handle, held across the removal, shows the error text a caller would log.
  auto held = transport.Open(found->path);
  checks.Check("a second handle opens", held != nullptr, transport.last_error());

  // A transfer the model refuses comes back from the kernel as an I/O error on that ioctl alone.
  if (held) {
    VirtualMouseFaults faults = mouse.faults();
    faults.set_failures = 1;
    faults.get_failures = 1;
    mouse.set_faults(faults);
    Report request{kReportId, static_cast<std::uint8_t>(Command::IdentifyCmd), 0, 0, 0, 0, 0, 0};
    const bool refused_set = !held->SetFeature(request);
    const std::string set_error = held->last_error();
    const bool sent = held->SetFeature(request);
    Report reply{};
    reply[0] = kReportId;
    const bool refused_get = !held->GetFeature(reply);
    const std::string get_error = held->last_error();
    reply[0] = kReportId;
    const bool fetched = held->GetFeature(reply);
    checks.Check("a refused report fails its ioctl with EIO, the next one goes through",
                 refused_set && refused_get && sent && fetched &&
                     set_error.ends_with("Input/output error") &&
                     get_error.ends_with("Input/output error") && reply[1] == kIdentifySignature &&
                     reply[7] == kStatusDone,
                 set_error + "; " + get_error + "; then " + Bytes(reply));
  }

  checks.Check("destroy uhid device", uhid.Destroy(error), error);

  checks.Check("an exchange after removal fails", !link.SendCommand(Command::IdentifyCmd));
  if (held) {
    Report probe{kReportId, static_cast<std::uint8_t>(Command::IdentifyCmd), 0, 0, 0, 0, 0, 0};
    const bool sent = held->SetFeature(probe);
    const bool fetched = held->GetFeature(probe);
    checks.Check("a held handle reports the removal",
                 !sent && !fetched && !held->last_error().empty(), held->last_error());
  }

  std::optional<HidInterfaceInfo> left;
  const auto gone_start = std::chrono::steady_clock::now();
  do {
    left = FindMouse(transport);
    if (!left) break;
    std::this_thread::sleep_for(20ms);
  } while (std::chrono::steady_clock::now() - gone_start < 5s);
  checks.Check("enumeration no longer lists the mouse", !left, left ? Describe(*left) : "");
  const int counted_after = link.CountDevices();
  checks.Check(
      "CountDevices drops back", counted_after == baseline,
      std::to_string(counted_after) + " counted, " + std::to_string(baseline) + " expected");

  held.reset();
  link.CloseDevice();
  CheckPresenceWatch(checks, uhid, transport, mouse, memory);
  uhid.StopServing();
  checks.Note("the kernel asked " + std::to_string(uhid.set_reports()) + " set and " +
              std::to_string(uhid.get_reports()) + " get feature requests, " +
              std::to_string(uhid.refused()) + " refused by the model");
  checks.Check("the uhid side served without error", uhid.serve_error().empty(),
               uhid.serve_error());
  return checks.Finish();
}

}  // namespace
}  // namespace zelt

int main() { return zelt::Run(); }
