#pragma once
// zeltctl's shared frame: global options, exit codes and the command table. Each group of
// commands lives in its own file and hands its table to main.

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelt::cli {

enum ExitCode : int {
  kExitOk = 0,
  kExitDevice = 1,  // the mouse, the link or the protocol failed
  kExitUsage = 2,   // the command line is wrong
  kExitFile = 3,    // a file could not be read or written, or its content is unusable
};

struct GlobalOptions {
  bool use_virtual = false;
  std::string virtual_state;  // empty: a fresh virtual mouse that is not kept
  std::string trace_path;
  std::vector<std::string> faults;
  std::string mode;          // "eeprom" or "driver"; empty: as the settings say (Ap_Mode)
  std::string macro_folder;  // empty: the Path setting, else the per-user data folder
};

class DeviceSession;  // the link to a real or virtual mouse, made on first use (device_session.h)

struct Context {
  GlobalOptions options;
  // Made by the first command that needs the mouse; saves the virtual state when destroyed.
  std::unique_ptr<DeviceSession> device;
  ~Context();
};

struct Command {
  std::string_view name;
  std::string_view usage;    // arguments after the name, e.g. "ADDRESS LENGTH"
  std::string_view summary;  // one line for --help
  int (*run)(Context& context, std::span<const std::string> args);
};

// Prints "zeltctl: <message>" on stderr and returns `code`.
int Fail(ExitCode code, const std::string& message);

std::span<const Command> DeviceCommands();  // device_commands.cpp
std::span<const Command> TextCommands();    // text_commands.cpp
std::span<const Command> MacroCommands();   // macro_commands.cpp
std::span<const Command> ConfigCommands();  // config_commands.cpp

}  // namespace zelt::cli
