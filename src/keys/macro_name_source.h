#pragma once
// The names of the macros that function codes of types 0x06 and 0x0E point at. Button captions
// need them; the macro slots own them and implement this lookup.

#include <cstddef>
#include <optional>
#include <string>

namespace zelt {

class MacroNameSource {
 public:
  virtual ~MacroNameSource() = default;

  // Device-memory mode: the name of the macro in slot `slot` (1..6) of the mouse, as remembered in
  // the mouse slot names. When the remembered name is empty, the implementation reads the slot's
  // 32-byte name field from device memory (the slot address minus 33), decodes it, remembers it
  // and returns it; a failed read gives the empty text. Called on the user-interface thread while
  // captions are refreshed, so the read may talk to the mouse.
  virtual std::string MouseSlotName(int slot) = 0;

  // Driver-only mode: the decoded name of element `index` (from 0) of the driver macro list, or
  // nothing when the list is shorter.
  virtual std::optional<std::string> DriverMacroName(std::size_t index) const = 0;
};

}  // namespace zelt
