#pragma once
// The editors of the configuration, and the order in which the flows fill them from the working
// copies and build the copies from them, in both storage modes. The AIM index is not part of
// this: it needs button captions, which may have to ask the mouse for macro names.

#include <cstdint>
#include <span>

#include "config/config_image.h"
#include "fire/fire_colours_editor.h"
#include "fire/fire_key_editor.h"
#include "keys/button_editor.h"
#include "perf/dpi_levels_editor.h"
#include "perf/engineer_editor.h"
#include "perf/lighting_editor.h"

namespace zelt {

struct Editors {
  // Device-memory mode: the code texts first, then every editor's fields.
  void ReadFrom(const WorkingCopies& copies);
  // Driver-only mode, from what the driver gave: the copies and the state record, with the LED
  // kind the mouse reported (the driver apply never writes the kind bits). A fire key code of the
  // while-held type becomes the plain fire key code, in its text and in the profile copy.
  void ReadDriverFrom(WorkingCopies& copies, std::span<const std::uint8_t, 4> state_record,
                      LightingFamily kind);

  // Device-memory mode: every editor's fields into the copies; checksums are written later.
  void WriteTo(WorkingCopies& copies) const;
  // Driver-only mode: the key mode, the current level with smoothing, the DPI count and values,
  // the two LED switches and the fire key into the copies, and the state record's edited bytes.
  void WriteDriverTo(WorkingCopies& copies, std::span<std::uint8_t, 4> state_record) const;

  ButtonEditor buttons;
  DpiLevelsEditor dpi;
  LightingEditor lighting;
  EngineerEditor engineer;
  FireKeyEditor fire_key;
  FireColoursEditor fire_colours;
};

}  // namespace zelt
