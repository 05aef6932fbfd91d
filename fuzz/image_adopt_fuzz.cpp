// Feeds outside bytes to the adoption of an image, as a profile file or a mouse hands it over:
// the section checks, every editor's reading of its fields, and the building of the image that an
// apply sends. Besides running under the address checks it holds the round trip to its promise:
// once an image has been through the editors, adopting and building it again changes nothing.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "app/app_state.h"
#include "app/config_flows.h"
#include "app/language.h"
#include "config/builtin_images.h"
#include "emulator/virtual_clock.h"
#include "emulator/virtual_mouse.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zelt;
  static const Language language = Language::LoadBuiltIn(1).value();
  VirtualClock clock;
  VirtualMouse mouse(BuiltinImage(1));
  DeviceLink link(mouse, nullptr, clock);  // never opened: the flows build the image, send nothing
  FlowUi ui;
  AppState state(Settings{}, language, ".");
  ConfigFlows flows(state, link, ui, clock);

  DataBuf image = BuiltinImage(1);
  std::copy_n(data, std::min(size, image.size()), image.begin());
  state.data_buf = image;
  flows.AdoptImage(true);
  flows.DownloadParameter();
  const DataBuf once = state.data_buf;

  flows.AdoptImage(true);
  flows.DownloadParameter();
  Require(state.data_buf == once);
  return 0;
}
