// zeltctl: the command-line twin of the configuration utility.

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/device_session.h"

namespace zelt::cli {

Context::~Context() = default;

int Fail(ExitCode code, const std::string& message) {
  std::fprintf(stderr, "zeltctl: %s\n", message.c_str());
  return code;
}

namespace {

std::vector<std::span<const Command>> CommandGroups() {
  return {ConfigCommands(), DeviceCommands(), TextCommands(), MacroCommands()};
}

const Command* FindCommand(std::string_view name) {
  for (auto group : CommandGroups()) {
    for (const auto& command : group) {
      if (command.name == name) return &command;
    }
  }
  return nullptr;
}

void PrintHelp() {
  std::printf(
      "usage: zeltctl [GLOBAL OPTIONS] COMMAND [ARGUMENTS]\n"
      "\n"
      "Global options:\n"
      "  --virtual[=STATE]  use the built-in virtual mouse instead of a real one; STATE is a file\n"
      "                     with its 2048 bytes of memory (created from built-in image 1 when\n"
      "                     missing, written back when the command ends; the virtual filter\n"
      "                     driver's memory is kept in STATE.driver)\n"
      "  --trace=FILE       write every feature report to FILE: '> ' and the 8 bytes sent,\n"
      "                     '< ' and the 8 bytes received, as lower-case hex pairs; a transfer\n"
      "                     that fails is marked with ' !' at the end of its line\n"
      "  --mode=MODE        eeprom (the configuration lives in the mouse) or driver (driver-only\n"
      "                     mode: it lives in the filter driver); default: the Ap_Mode setting\n"
      "  --macro-folder=DIR folder of the reset files, driver-mode files and the driver-mode\n"
      "                     state file; default: the Path setting, else ~/.local/share/zelt507k\n"
      "  --fault=SPEC       virtual mouse only: switch on faults (repeatable, or comma-separated)\n"
      "%s"
      "\n"
      "Numbers are decimal or 0x-prefixed hexadecimal. Exit codes: 0 done, 1 device or protocol\n"
      "failure, 2 usage, 3 file.\n"
      "\n"
      "Commands:\n",
      FaultHelp().c_str());
  for (auto group : CommandGroups()) {
    for (const auto& command : group) {
      std::string head = std::string(command.name) + " " + std::string(command.usage);
      std::printf("  %-32s %s\n", head.c_str(), std::string(command.summary).c_str());
    }
  }
}

}  // namespace

int Main(int argc, char** argv) {
  Context context;
  int i = 1;
  for (; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg.rfind("--", 0) != 0) break;
    if (arg == "--help" || arg == "-h") {
      PrintHelp();
      return kExitOk;
    } else if (arg == "--virtual") {
      context.options.use_virtual = true;
    } else if (arg.rfind("--virtual=", 0) == 0) {
      context.options.use_virtual = true;
      context.options.virtual_state = arg.substr(10);
      if (context.options.virtual_state.empty()) return Fail(kExitUsage, "--virtual= needs a file");
    } else if (arg.rfind("--trace=", 0) == 0) {
      context.options.trace_path = arg.substr(8);
    } else if (arg.rfind("--mode=", 0) == 0) {
      context.options.mode = arg.substr(7);
      if (context.options.mode != "eeprom" && context.options.mode != "driver") {
        return Fail(kExitUsage, "--mode takes eeprom or driver");
      }
    } else if (arg.rfind("--macro-folder=", 0) == 0) {
      context.options.macro_folder = arg.substr(15);
      if (context.options.macro_folder.empty())
        return Fail(kExitUsage, "--macro-folder= needs a folder");
    } else if (arg.rfind("--fault=", 0) == 0) {
      context.options.faults.emplace_back(arg.substr(8));
    } else {
      return Fail(kExitUsage, "unknown option " + std::string(arg) + " (see --help)");
    }
  }
  if (i >= argc) return Fail(kExitUsage, "no command given (see --help)");
  if (!context.options.faults.empty() && !context.options.use_virtual) {
    return Fail(kExitUsage, "--fault applies to the virtual mouse only; add --virtual");
  }
  const Command* command = FindCommand(argv[i]);
  if (!command)
    return Fail(kExitUsage, std::string("unknown command ") + argv[i] + " (see --help)");
  std::vector<std::string> args(argv + i + 1, argv + argc);
  int code = command->run(context, args);
  if (context.device) {
    std::string error;
    if (!context.device->Finish(&error)) {
      int finish_code = Fail(kExitFile, error);
      if (code == kExitOk) code = finish_code;
    }
  }
  return code;
}

}  // namespace zelt::cli

int main(int argc, char** argv) { return zelt::cli::Main(argc, argv); }
