#pragma once
// What the device and configuration flows need from the screen. The flows never draw: the GUI
// implements this with widgets, the command line with console text, tests with a recorder.
// Every method has a do-nothing default so an implementation overrides only what it shows.

#include <string_view>

namespace zelt {

class FlowUi {
 public:
  virtual ~FlowUi() = default;

  // Lets pending window messages run (the message pump), without user input.
  virtual void ProcessMessages() {}

  // The small progress window: centred on the main window and shown before each chunk of a
  // transfer; hidden by the flow that started the transfer.
  virtual void ShowProgress() {}
  virtual void HideProgress() {}
  // Progress of the running block transfer: `done` of `total` chunks. Lets a console show a bar.
  virtual void ReportProgress(unsigned /*done*/, unsigned /*total*/) {}

  // A modal OK-only message with the text of a language string ("Str109").
  virtual void ShowMessage(std::string_view /*string_id*/) {}
};

}  // namespace zelt
