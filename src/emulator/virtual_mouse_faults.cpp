#include "emulator/virtual_mouse_faults.h"

#include <vector>

#include "util/hex.h"

namespace zelt {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

template <typename T>
bool ParseValue(std::string_view text, T& out, std::uint32_t max) {
  auto value = ParseNumber(text);
  if (!value || *value > max) return false;
  out = static_cast<T>(*value);
  return true;
}

// "N" or "all".
bool ParseCount(std::string_view text, int& out) {
  if (text == "all") {
    out = VirtualMouseFaults::kAlways;
    return true;
  }
  return ParseValue(text, out, 1'000'000'000);
}

bool ParseOne(std::string_view name, std::optional<std::string_view> arg,
              VirtualMouseFaults& faults) {
  auto needs = [&](auto parse) { return arg && parse(*arg); };
  if (name == "busy") {
    return needs([&](std::string_view a) { return ParseValue(a, faults.busy_polls, 1000); });
  }
  if (name == "error") {
    return needs([&](std::string_view a) {
      auto parts = Split(a, ':');
      std::uint8_t command = 0;
      int count = 0;
      if (parts.size() != 2 || !ParseValue(parts[0], command, 0xFF) || !ParseCount(parts[1], count))
        return false;
      faults.error_replies[command] = count;
      return true;
    });
  }
  if (name == "silent") {
    if (!arg) {
      faults.silent_all = true;
      return true;
    }
    std::uint8_t command = 0;
    if (!ParseValue(*arg, command, 0xFF)) return false;
    faults.silent_command = command;
    return true;
  }
  if (name == "setfail")
    return needs([&](std::string_view a) { return ParseCount(a, faults.set_failures); });
  if (name == "getfail")
    return needs([&](std::string_view a) { return ParseCount(a, faults.get_failures); });
  if (name == "notready" && !arg) return faults.not_ready = true;
  if (name == "nodriverflag" && !arg) return faults.no_driver_flag = true;
  if (name == "memtype")
    return needs([&](std::string_view a) { return ParseValue(a, faults.identify_byte3, 0xFF); });
  if (name == "begin")
    return needs([&](std::string_view a) { return ParseValue(a, faults.begin_reply, 0xFF); });
  if (name == "codes") {
    return needs([&](std::string_view a) {
      auto parts = Split(a, ':');
      std::uint8_t vendor = 0, product = 0;
      if (parts.size() != 2 || !ParseValue(parts[0], vendor, 0xFF) ||
          !ParseValue(parts[1], product, 0xFF))
        return false;
      faults.codes = {vendor, product};
      return true;
    });
  }
  if (name == "stuck") {
    return needs([&](std::string_view a) {
      auto parts = Split(a, ':');
      int count = VirtualMouseFaults::kAlways;
      if (parts.size() > 2 || (parts.size() == 2 && !ParseCount(parts[1], count))) return false;
      auto range = Split(parts[0], '-');
      std::uint16_t first = 0, last = 0;
      if (range.size() > 2 || !ParseValue(range[0], first, 0x7FF)) return false;
      last = first;
      if (range.size() == 2 && (!ParseValue(range[1], last, 0x7FF) || last < first)) return false;
      for (unsigned address = first; address <= last; ++address) {
        faults.stuck[static_cast<std::uint16_t>(address)] = count;
      }
      return true;
    });
  }
  if (name == "vanish")
    return needs(
        [&](std::string_view a) { return ParseValue(a, faults.vanish_after, 1'000'000'000); });
  if (name == "version")
    return needs([&](std::string_view a) { return ParseValue(a, faults.version, 0xFFFF); });
  if (name == "featlen")
    return needs([&](std::string_view a) { return ParseValue(a, faults.feature_length, 64); });
  if (name == "extra")
    return needs([&](std::string_view a) { return ParseValue(a, faults.extra_interfaces, 64); });
  if (name == "driverid")
    return needs([&](std::string_view a) { return ParseValue(a, faults.driver_id, 0xFFFF); });
  if (name == "buttons")
    return needs([&](std::string_view a) { return ParseValue(a, faults.buttons, 0xFFFF); });
  return false;
}

}  // namespace

bool ParseVirtualMouseFaults(std::string_view spec, VirtualMouseFaults& faults,
                             std::string* error) {
  for (std::string_view item : Split(spec, ',')) {
    if (item.empty()) continue;
    std::size_t equals = item.find('=');
    std::string_view name = item.substr(0, equals);
    std::optional<std::string_view> arg;
    if (equals != std::string_view::npos) arg = item.substr(equals + 1);
    if (!ParseOne(name, arg, faults)) {
      if (error) *error = "bad fault '" + std::string(item) + "' (see --help)";
      return false;
    }
  }
  return true;
}

std::string VirtualMouseFaultHelp() {
  return "    busy=N             every request reads status 0 for its first N polls\n"
         "    error=CMD:N|all    the next N requests of command CMD end with status 0x01\n"
         "    silent[=CMD]       requests (of command CMD) never finish\n"
         "    setfail=N|all      the first N set-feature transfers fail\n"
         "    getfail=N|all      the first N get-feature transfers fail\n"
         "    notready           identify reports the mouse not ready\n"
         "    memtype=BYTE       identify reply byte 3 (0x35 normally; 0 = unknown memory)\n"
         "    begin=BYTE         begin-session reply byte 1 (0xA6 normally)\n"
         "    nodriverflag       identify with 0x5A answers without the driver flag\n"
         "    codes=V:P          vendor and product code stored in memory at 0x36\n"
         "    stuck=ADDR[-END][:N|all]  writes to these addresses are lost (the first N)\n"
         "    vanish=N           the mouse disappears after N transfers\n"
         "    version=N featlen=N extra=N driverid=N buttons=N   identity and status\n";
}

}  // namespace zelt
