// zeltctl commands that run the window's configuration flows: read, show, save, load, reset,
// apply and watch. Each starts as the window does (built-in image 1, the start-up timer running),
// finds the mouse, runs the connect check and then the flow of the button it stands for.

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>

#include "app/app_state.h"
#include "app/config_flows.h"
#include "app/presence_watch.h"
#include "app/settings.h"
#include "cli/cli.h"
#include "cli/config_report.h"
#include "cli/device_session.h"
#include "device/platform.h"
#include "util/file_io.h"
#include "util/hex.h"

namespace zelt::cli {
namespace {

constexpr int kStartupTickMs = 20;
constexpr int kPresenceTickMs = 3000;

// The main window's state and flows over zeltctl's link.
class ConfigRun {
 public:
  static std::unique_ptr<ConfigRun> Create(Context& context, int& code) {
    if (!context.device) context.device = DeviceSession::Create(context.options, &code);
    if (!context.device) return nullptr;
    Settings settings = LoadSettings(UserSettingsPathFromEnvironment());
    if (context.options.mode == "eeprom") settings.ap_mode = 0;
    if (context.options.mode == "driver") settings.ap_mode = 1;
    if (settings.ap_mode == 1) settings.gd_enable = false;
    std::filesystem::path folder = context.options.macro_folder.empty()
                                       ? MacroFolderOf(settings)
                                       : std::filesystem::path(context.options.macro_folder);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
      code = Fail(kExitUsage, "the macro folder " + folder.string() + " is not a folder");
      return nullptr;
    }
    return std::unique_ptr<ConfigRun>(
        new ConfigRun(*context.device, std::move(settings), std::move(folder)));
  }

  // Starts as the window does and opens the mouse, as the presence watch's first tick would.
  // Without a mouse the no-device state is entered and false returned.
  bool Open() {
    flows.Start();
    std::uint16_t version = kMouseVersion;
    if (device.link().OpenDevice(kMouseVendorId, kMouseProductId, version)) return true;
    flows.EnterNoDevice();
    const std::string& reason = device.transport().last_error();
    if (!reason.empty()) Fail(kExitDevice, reason);
    return false;
  }

  // Opens the mouse and runs the connect check. Exit code 0 when the configuration was read.
  int Connect(bool full_read) {
    if (!Open()) return kExitDevice;
    return Report(flows.ReadDevInfo(full_read));
  }

  // The exit code of an outcome, printing it unless the flow already showed a message for it.
  int Report(FlowOutcome outcome) {
    const std::size_t shown = device.ui().messages().size();
    const bool message_shown = shown > messages_seen_;
    messages_seen_ = shown;
    switch (outcome) {
      case FlowOutcome::kDone:
        return kExitOk;
      case FlowOutcome::kFileError:
      case FlowOutcome::kFileMissing:
        return message_shown ? kExitFile : Fail(kExitFile, FlowOutcomeText(outcome));
      case FlowOutcome::kCancelled:
        return Fail(kExitUsage, FlowOutcomeText(outcome));
      default:
        return message_shown ? kExitDevice : Fail(kExitDevice, FlowOutcomeText(outcome));
    }
  }

  std::string Caption(std::string_view code) { return flows.CaptionOf(code); }

  DeviceSession& device;
  AppState state;
  ConfigFlows flows;
  PresenceWatch watch;

 private:
  ConfigRun(DeviceSession& session, Settings settings, std::filesystem::path folder)
      : device(session),
        state(std::move(settings), session.language(), std::move(folder)),
        flows(state, session.link(), session.ui(), session.clock()),
        watch(session.link(), flows, session.ui(), session.clock()) {}

  std::size_t messages_seen_ = 0;
};

int Read(Context& context, std::span<const std::string> args) {
  bool full = false;
  std::optional<std::string> file;
  for (const auto& arg : args) {
    if (arg == "--full") {
      full = true;
    } else if (!file && arg.rfind("--", 0) != 0) {
      file = arg;
    } else {
      return Fail(kExitUsage, "usage: read [--full] [FILE]");
    }
  }
  int code = kExitOk;
  auto run = ConfigRun::Create(context, code);
  if (!run) return code;
  if (file && run->state.driver_only()) {
    // The driver-only connect fills the working copies, not the mouse image.
    return Fail(kExitUsage, "in driver-only mode the configuration lives in the driver; use save");
  }
  code = run->Connect(full);
  if (code != kExitOk || !file) return code;
  std::string error;
  if (!WriteFileAtomic(*file, run->state.data_buf, &error)) return Fail(kExitFile, error);
  return kExitOk;
}

int Show(Context& context, std::span<const std::string> args) {
  bool json = false;
  for (const auto& arg : args) {
    if (arg != "--json") return Fail(kExitUsage, "usage: show [--json]");
    json = true;
  }
  int code = kExitOk;
  auto run = ConfigRun::Create(context, code);
  if (!run) return code;
  code = run->Connect(false);
  if (code != kExitOk) return code;
  const CaptionOfCode caption = [&run](std::string_view text) { return run->Caption(text); };
  const std::string report =
      json ? ConfigReportJson(run->state, caption) : ConfigReportText(run->state, caption);
  std::fputs(report.c_str(), stdout);
  return kExitOk;
}

int Save(Context& context, std::span<const std::string> args) {
  if (args.size() != 1) return Fail(kExitUsage, "usage: save FILE");
  int code = kExitOk;
  auto run = ConfigRun::Create(context, code);
  if (!run) return code;
  // The save runs the connect check (with a full read) itself.
  if (!run->Open()) return kExitDevice;
  run->device.ui().set_profile_path(args[0]);
  return run->Report(run->flows.BtnSaveClick());
}

// Connects, then runs `flow` as the window's button would after the connect.
template <typename Flow>
int AfterConnect(Context& context, Flow flow) {
  int code = kExitOk;
  auto run = ConfigRun::Create(context, code);
  if (!run) return code;
  code = run->Connect(false);
  if (code != kExitOk) return code;
  return run->Report(flow(*run));
}

int Load(Context& context, std::span<const std::string> args) {
  if (args.size() != 1) return Fail(kExitUsage, "usage: load FILE");
  const std::string file = args[0];
  return AfterConnect(context, [&file](ConfigRun& run) {
    run.device.ui().set_profile_path(file);
    return run.flows.BtnLoadClick();
  });
}

int Reset(Context& context, std::span<const std::string> args) {
  if (args.size() != 1 || (args[0] != "1" && args[0] != "2" && args[0] != "3")) {
    return Fail(kExitUsage, "usage: reset 1|2|3");
  }
  const int number = args[0][0] - '0';
  return AfterConnect(context, [number](ConfigRun& run) { return run.flows.ResetClick(number); });
}

int Apply(Context& context, std::span<const std::string> args) {
  if (!args.empty()) return Fail(kExitUsage, "apply takes no arguments");
  return AfterConnect(context, [](ConfigRun& run) { return run.flows.BtnApplyClick(); });
}

int Watch(Context& context, std::span<const std::string> args) {
  std::optional<double> seconds;
  for (const auto& arg : args) {
    if (arg.rfind("--for=", 0) != 0) return Fail(kExitUsage, "usage: watch [--for=SECONDS]");
    auto value = ParseNumber(arg.substr(6));
    if (!value) return Fail(kExitUsage, "--for takes a whole number of seconds");
    seconds = *value;
  }
  int code = kExitOk;
  auto run = ConfigRun::Create(context, code);
  if (!run) return code;
  run->flows.Start();

  // A real mouse's arrival and removal are noticed at once; the virtual one only by counting.
  std::unique_ptr<DeviceChangeMonitor> monitor;
  if (!context.options.use_virtual) monitor = CreatePlatformDeviceMonitor();
  const int monitor_fd = monitor ? monitor->fd() : -1;
  using Steady = std::chrono::steady_clock;
  const auto end =
      seconds ? Steady::now() + std::chrono::milliseconds(static_cast<long long>(*seconds * 1000))
              : Steady::time_point::max();
  std::optional<ConnectionState> shown;
  for (;;) {
    const AppState& state = run->state;
    if (state.connection != shown) {
      shown = state.connection;
      std::printf("%s\n", ConnectionStateName(state.connection));
      std::fflush(stdout);
    }
    const int tick = state.startup_timer_running    ? kStartupTickMs
                     : state.presence_timer_running ? kPresenceTickMs
                                                    : -1;
    int wait = tick;
    if (seconds) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(end - Steady::now()).count();
      if (left <= 0) break;
      wait = tick < 0 ? static_cast<int>(left) : std::min<int>(tick, static_cast<int>(left));
    }
    pollfd event{monitor_fd, POLLIN, 0};
    const int ready = poll(&event, monitor_fd >= 0 ? 1 : 0, wait);
    const bool changed = ready > 0 && monitor && monitor->Drain();
    // A timer tick, or a device that came or went: the same handler either way.
    if (changed || (ready == 0 && tick >= 0 && (!seconds || Steady::now() < end))) {
      run->watch.DevTimerTimer();
    }
  }
  return kExitOk;
}

constexpr Command kCommands[] = {
    {"read", "[--full] [FILE]",
     "connect and read the configuration (255 bytes, or all 2048 with --full); FILE receives the "
     "2048-byte image",
     Read},
    {"show", "[--json]", "read, then print the configuration as the editor shows it", Show},
    {"save", "FILE", "read everything from the mouse (or driver) and save it as a profile", Save},
    {"load", "FILE", "load a profile and write it to the mouse (or driver)", Load},
    {"reset", "1|2|3",
     "write default configuration 1, 2 or 3 (the reset file in the macro folder when present, "
     "else built-in image 1)",
     Reset},
    {"apply", "", "read, then write the configuration back unchanged", Apply},
    {"watch", "[--for=SECONDS]",
     "run the presence watch and print each state change (searching, connected, refused, no "
     "device)",
     Watch},
};

}  // namespace

std::span<const Command> ConfigCommands() { return kCommands; }

}  // namespace zelt::cli
