#include "cli/config_report.h"

#include <cstdio>
#include <vector>

#include "app/engineer_page_texts.h"

namespace zelt::cli {
namespace {

constexpr int kOrientationFirstText = 65;  // engineer page texts "0°" .. "XY Swap XY NoReverse"

// One labelled value of the report; `json` is the value already in JSON form.
struct Field {
  std::string key;
  std::string text;
  std::string json;
};

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string Bool(bool value) { return value ? "true" : "false"; }
std::string OnOff(bool value) { return value ? "on" : "off"; }

std::string ColourHex(RgbColour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", colour.red, colour.green, colour.blue);
  return text;
}

std::string DpiText(const AppState& state, std::uint8_t index) {
  if (index > 11) return "";
  return state.texts->Text("Str" + std::to_string(300 + index));
}

const char* KindName(LightingFamily kind) {
  switch (kind) {
    case LightingFamily::kFlowing:
      return "MCULED";
    case LightingFamily::kTwoColour:
      return "RBLED";
    case LightingFamily::kSynchronous:
      return "SyncLED";
    case LightingFamily::kBreathing:
      return "BreLED";
  }
  return "";
}

struct Button {
  int number;
  std::string code;
  std::string caption;
};

struct Level {
  int number;
  std::uint8_t value_index;
  std::string value;
  std::string colour;
  bool enabled;
};

// Everything the report shows, gathered once for both forms.
struct Report {
  std::vector<Field> general;
  std::vector<Button> buttons[kKeyModeCount];
  std::vector<Level> levels;
  std::vector<Field> lighting;
  std::vector<Field> fire_key;
  std::vector<Field> engineer;
};

Report Gather(const AppState& state, const CaptionOfCode& caption) {
  Report report;
  const ButtonEditor& buttons = state.editors.buttons;
  const std::string mode_name = state.texts->Text(buttons.key_mode() == 1 ? "Str004" : "Str005");
  report.general = {
      {"storage_mode", state.driver_only() ? "driver" : "eeprom",
       JsonString(state.driver_only() ? "driver" : "eeprom")},
      {"connection", ConnectionStateName(state.connection),
       JsonString(ConnectionStateName(state.connection))},
      {"key_mode", std::to_string(buttons.key_mode()) + " (" + mode_name + ")",
       std::to_string(buttons.key_mode())},
      {"key_mode_kept_over_power_off", OnOff(buttons.key_mode_kept()),
       Bool(buttons.key_mode_kept())},
      {"key_mode_switch_by_middle_press", OnOff(buttons.switch_methods() & 1),
       Bool(buttons.switch_methods() & 1)},
      {"key_mode_switch_by_dpi_press", OnOff(buttons.switch_methods() & 2),
       Bool(buttons.switch_methods() & 2)},
      {"key_mode_switch_by_gun_key", OnOff(buttons.switch_methods() & 4),
       Bool(buttons.switch_methods() & 4)},
      {"aim_dpi", DpiText(state, buttons.aim_dpi_index()), std::to_string(buttons.aim_dpi_index())},
  };
  for (int mode = 1; mode <= kKeyModeCount; ++mode) {
    for (int button = 1; button <= static_cast<int>(kButtonCount); ++button) {
      const std::string& code = buttons.code(mode, button);
      report.buttons[mode - 1].push_back({button, code, caption(code)});
    }
  }
  const DpiLevelsEditor& dpi = state.editors.dpi;
  for (int level = 0; level < kDpiLevelCount; ++level) {
    const std::uint8_t index = dpi.value_index(level);
    report.levels.push_back({level + 1, index, DpiText(state, index), ColourHex(dpi.colour(level)),
                             level < dpi.count()});
  }
  const LightingEditor& lighting = state.editors.lighting;
  std::string offered;
  std::string offered_json = "[";
  for (int mode = 0; mode < kLightingModeCount; ++mode) {
    if (!lighting.mode_offered(mode)) continue;
    if (!offered.empty()) offered += ",", offered_json += ",";
    offered += std::to_string(mode + 1);
    offered_json += std::to_string(mode + 1);
  }
  offered_json += "]";
  report.lighting = {
      {"kind", KindName(lighting.kind()), JsonString(KindName(lighting.kind()))},
      {"led", OnOff(lighting.led_on()), Bool(lighting.led_on())},
      {"flowing_mode", std::to_string(lighting.flowing_mode() + 1),
       std::to_string(lighting.flowing_mode() + 1)},
      {"two_colour_mode", std::to_string(lighting.two_colour_mode() + 1),
       std::to_string(lighting.two_colour_mode() + 1)},
      {"step", std::to_string(lighting.step()), std::to_string(lighting.step())},
      {"led_count", std::to_string(lighting.led_count()), std::to_string(lighting.led_count())},
      {"brightness", lighting.full_brightness() ? "full" : "half",
       JsonString(lighting.full_brightness() ? "full" : "half")},
      {"offered_flowing_modes", offered, offered_json},
      {"led_switch_by_middle_and_dpi", OnOff(lighting.mid_dpi_switch()),
       Bool(lighting.mid_dpi_switch())},
      {"mode_switch_by_left_and_dpi", OnOff(lighting.left_dpi_switch()),
       Bool(lighting.left_dpi_switch())},
  };
  const FireKeyEditor& fire = state.editors.fire_key;
  const int shots = fire.count_entry() + 1;
  report.fire_key = {
      {"shots", fire.continuous() ? "continuous" : std::to_string(shots),
       fire.continuous() ? JsonString("continuous") : std::to_string(shots)},
      {"interval_ms", std::to_string(fire.interval() * 8), std::to_string(fire.interval() * 8)},
  };
  const EngineerEditor& engineer = state.editors.engineer;
  const std::string orientation(EngineerText(kOrientationFirstText + engineer.orientation_entry(),
                                             EngineerTextColumn::kEnglish));
  std::string offsets;
  std::string offsets_json = "[";
  for (int gun = 0; gun < static_cast<int>(kFireMacroCount); ++gun) {
    offsets += (gun ? " " : "") + std::to_string(engineer.y_offset(gun));
    offsets_json += (gun ? "," : "") + std::to_string(engineer.y_offset(gun));
  }
  offsets_json += "]";
  std::string colours;
  std::string colours_json = "[";
  for (int gun = 0; gun < static_cast<int>(kFireMacroCount); ++gun) {
    const std::string hex = ColourHex(state.editors.fire_colours.colour(gun));
    colours += (gun ? " " : "") + hex;
    colours_json += (gun ? "," : "") + JsonString(hex);
  }
  colours_json += "]";
  report.engineer = {
      {"vendor_code", std::to_string(engineer.vendor_code()),
       std::to_string(engineer.vendor_code())},
      {"product_code", std::to_string(engineer.product_code()),
       std::to_string(engineer.product_code())},
      {"codes_read",
       std::to_string(state.codes_read[0]) + " " + std::to_string(state.codes_read[1]),
       "[" + std::to_string(state.codes_read[0]) + "," + std::to_string(state.codes_read[1]) + "]"},
      {"sensor_orientation", orientation, JsonString(orientation)},
      {"smoothing", OnOff(engineer.smoothing()), Bool(engineer.smoothing())},
      {"fire_trigger", engineer.fire_needs_fn() ? "Fn+Left Key" : "Left Key",
       JsonString(engineer.fire_needs_fn() ? "Fn+Left Key" : "Left Key")},
      {"fire_macro_y_offsets", offsets, offsets_json},
      {"fire_macro_colours", colours, colours_json},
  };
  return report;
}

void AppendFields(std::string& out, const std::vector<Field>& fields, const char* indent) {
  for (const auto& field : fields) {
    out += indent + field.key + ": " + field.text + "\n";
  }
}

std::string JsonFields(const std::vector<Field>& fields) {
  std::string out = "{";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    out += (i ? "," : "") + JsonString(fields[i].key) + ":" + fields[i].json;
  }
  return out + "}";
}

}  // namespace

std::string ConfigReportText(const AppState& state, const CaptionOfCode& caption) {
  const Report report = Gather(state, caption);
  std::string out;
  AppendFields(out, report.general, "");
  for (int mode = 1; mode <= kKeyModeCount; ++mode) {
    out += "buttons of key mode " + std::to_string(mode) + " (" +
           state.texts->Text(mode == 1 ? "Str004" : "Str005") + "):\n";
    for (const auto& button : report.buttons[mode - 1]) {
      out +=
          "  " + std::to_string(button.number) + "  " + button.code + "  " + button.caption + "\n";
    }
  }
  out += "dpi levels: " + std::to_string(state.editors.dpi.count()) + ", current level " +
         std::to_string(state.editors.dpi.current_level() + 1) + "\n";
  for (const auto& level : report.levels) {
    out += "  " + std::to_string(level.number) + "  " + (level.value.empty() ? "-" : level.value) +
           "  " + level.colour + (level.enabled ? "" : "  (off)") +
           (level.number == state.editors.dpi.current_level() + 1 ? "  (current)" : "") + "\n";
  }
  out += "lighting:\n";
  AppendFields(out, report.lighting, "  ");
  out += "fire key:\n";
  AppendFields(out, report.fire_key, "  ");
  out += "engineer:\n";
  AppendFields(out, report.engineer, "  ");
  return out;
}

std::string ConfigReportJson(const AppState& state, const CaptionOfCode& caption) {
  const Report report = Gather(state, caption);
  std::string out = JsonFields(report.general);
  out.pop_back();  // continue the general object
  for (int mode = 1; mode <= kKeyModeCount; ++mode) {
    out += ",\"buttons_key_mode_" + std::to_string(mode) + "\":[";
    for (const auto& button : report.buttons[mode - 1]) {
      out += (button.number > 1 ? "," : "") + std::string("{\"button\":") +
             std::to_string(button.number) + ",\"code\":" + JsonString(button.code) +
             ",\"caption\":" + JsonString(button.caption) + "}";
    }
    out += "]";
  }
  out += ",\"dpi\":{\"count\":" + std::to_string(state.editors.dpi.count()) +
         ",\"current_level\":" + std::to_string(state.editors.dpi.current_level() + 1) +
         ",\"levels\":[";
  for (const auto& level : report.levels) {
    out += (level.number > 1 ? "," : "") + std::string("{\"level\":") +
           std::to_string(level.number) + ",\"value_index\":" + std::to_string(level.value_index) +
           ",\"value\":" + JsonString(level.value) + ",\"colour\":" + JsonString(level.colour) +
           ",\"enabled\":" + Bool(level.enabled) + "}";
  }
  out += "]}";
  out += ",\"lighting\":" + JsonFields(report.lighting);
  out += ",\"fire_key\":" + JsonFields(report.fire_key);
  out += ",\"engineer\":" + JsonFields(report.engineer);
  return out + "}\n";
}

}  // namespace zelt::cli
