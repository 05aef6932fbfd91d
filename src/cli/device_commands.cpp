#include "cli/cli.h"
#include "cli/device_session.h"

namespace zelt::cli {

std::string FaultHelp() { return ""; }

std::span<const Command> DeviceCommands() { return {}; }

}  // namespace zelt::cli
