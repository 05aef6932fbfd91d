#pragma once
// Faults and variations the virtual mouse can be told to show, and their text form for --fault.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zelt {

struct VirtualMouseFaults {
  static constexpr int kAlways = -1;

  int busy_polls = 0;                          // status 0 for the first N polls of every request
  std::map<std::uint8_t, int> error_replies;   // command -> requests answered with status 0x01
  bool silent_all = false;                     // no request is ever finished
  std::optional<std::uint8_t> silent_command;  // requests of this command are never finished
  int set_failures = 0;                        // set-feature transfers that fail (kAlways: all)
  int get_failures = 0;                        // get-feature transfers that fail (kAlways: all)
  bool not_ready = false;                      // identify reports the ready flag clear
  std::uint8_t identify_byte3 = 0x35;          // memory type as the identify reply carries it
  std::uint8_t begin_reply = 0xA6;             // begin-session reply byte 1
  bool no_driver_flag = false;                 // identify's 0x5A forms answer without bit 5
  std::map<std::uint16_t, int> stuck;          // address -> writes that are lost (kAlways: all)
  int vanish_after = kAlways;  // transfers until the mouse disappears (kAlways: never)
  std::optional<std::pair<std::uint8_t, std::uint8_t>> codes;  // vendor, product code in memory
  std::uint16_t version = 0x0104;
  std::uint16_t feature_length = 8;
  int extra_interfaces = 0;  // other HID interfaces present beside the mouse
  std::uint16_t driver_id = 0x5A30;
  std::uint16_t buttons = 0;  // button status word
};

// Applies one comma-separated fault text ("busy=2,error=5:3") on top of `faults`.
bool ParseVirtualMouseFaults(std::string_view spec, VirtualMouseFaults& faults, std::string* error);

// The --fault syntax, one line per fault, for help texts.
std::string VirtualMouseFaultHelp();

}  // namespace zelt
