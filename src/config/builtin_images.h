#pragma once
// The three default configuration images compiled into the program. Image 1 fills the editor when
// no mouse is connected, gives the expected vendor and product codes, and backs every reset.

#include "config/config_image.h"

namespace zelt {

// Built-in image `number` (1, 2 or 3; any other number gives image 1).
const DataBuf& BuiltinImage(int number);

}  // namespace zelt
