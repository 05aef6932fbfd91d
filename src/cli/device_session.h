#pragma once
// The link zeltctl talks through: a real mouse over the platform transport, or the virtual
// mouse (with its state file), optionally traced report by report.

#include <memory>
#include <string>

#include "cli/cli.h"

namespace zelt::cli {

// Text for --help describing the --fault syntax.
std::string FaultHelp();

class DeviceSession {
 public:
  virtual ~DeviceSession() = default;
  // Saves what must outlive the command (the virtual mouse's memory); false with `error` set when
  // that failed.
  virtual bool Finish(std::string* error) = 0;
};

}  // namespace zelt::cli
