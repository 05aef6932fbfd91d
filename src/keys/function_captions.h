#pragma once
// Captions of button function codes and the codes of the fixed menu entries.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "keys/macro_name_source.h"
#include "util/string_table.h"

namespace zelt {

// One entry of the function menus with a fixed code.
struct FixedFunction {
  std::string_view menu_item;  // "Key_Left"
  int tag;                     // menu-item number, 900 for Key_Left
  // The code text. The AIM entry holds only its type digits "0A": it names every code of that
  // type, and the code it gives carries the AIM DPI index.
  std::string_view code;
  std::string_view string_id;  // language string of the caption, "Str210"
  bool type_only = false;      // true for the AIM entry
};

// Every fixed-code entry, in the order CodeToName compares codes with them.
std::span<const FixedFunction> FixedFunctions();

// The code of the menu entry with this Tag; for the AIM entry (1002) "0A", the two digits of
// `aim_dpi_index` and "00". Any other Tag gives the empty text.
std::string MenuTagToCode(int tag, std::uint8_t aim_dpi_index);

// What besides the language the caption of a code depends on. The defaults name no macro and use
// the fixed gun names.
struct CaptionContext {
  // Where macros live: false = the mouse's macro slots, true = the driver macro list.
  bool driver_only = false;
  // Names of the macros that codes point at; without it macro codes show the empty text.
  MacroNameSource* macro_names = nullptr;
  // The ten gun key codes of the gun key library ("000000" for an unused entry) when the library
  // was loaded; with a list, gun key codes are named by their position in it.
  std::optional<std::array<std::string, 10>> fire_macro_codes = std::nullopt;
};

// The caption of a code in the language of `strings`; the empty text for a code it cannot name.
// Comparisons with fixed codes are exact and case-sensitive and come before the rendering by
// type, so "020807" is the Desktop caption, not Win+D.
std::string CodeToName(std::string_view code, const StringTable& strings,
                       const CaptionContext& context = {});

}  // namespace zelt
