#pragma once
// The configuration as a person reads it, for `zeltctl show`: plain text or JSON.

#include <string>

#include "app/app_state.h"
#include "keys/button_editor.h"

namespace zelt::cli {

std::string ConfigReportText(const AppState& state, const CaptionOfCode& caption);
std::string ConfigReportJson(const AppState& state, const CaptionOfCode& caption);

}  // namespace zelt::cli
