#pragma once
// What the device and configuration flows need from the screen. The flows never draw: the GUI
// implements this with widgets, the command line with console text, tests with a recorder.
// Every method has a do-nothing default so an implementation overrides only what it shows.

#include <filesystem>
#include <optional>
#include <string_view>

namespace zelt {

// The two timers that drive the presence watch: the start-up timer (20 ms, runs from window
// creation until the first flow ends) and the presence timer (3 s, runs between flows).
enum class PresenceTimer { kStartup, kPresence };

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

  // A modal OK-only message with the text of a language string ("Str109") in the program's own
  // message dialog.
  virtual void ShowMessage(std::string_view /*string_id*/) {}
  // The same text in a plain system message box with an empty title.
  virtual void ShowMessageBox(std::string_view string_id) { ShowMessage(string_id); }
  // The no-device notice: Str100, two line breaks, Str101, in the program's message dialog.
  virtual void ShowNoDeviceMessage() {}
  // A file could not be created or opened; `text` is the system's description.
  virtual void ShowFileError(std::string_view /*text*/) {}

  // The transparent labels that cover every editor page so it takes no input.
  virtual void ShowOverlays() {}
  virtual void HideOverlays() {}
  // Closes any open function menu and submenu.
  virtual void CloseMenus() {}
  // The working copies changed: every editor view shows its editor's state again.
  virtual void RefreshEditors() {}
  // Shows the main page (page 1) and hides the others.
  virtual void ShowMainPage() {}
  // Closes the main window (after a confirm).
  virtual void CloseMainWindow() {}

  // Starts or stops one of the presence watch's timers.
  virtual void SetTimerRunning(PresenceTimer /*timer*/, bool /*running*/) {}

  // The profile file dialogs: the file to write or to read; nothing when the user cancels.
  virtual std::optional<std::filesystem::path> ChooseProfileToSave() { return std::nullopt; }
  virtual std::optional<std::filesystem::path> ChooseProfileToLoad() { return std::nullopt; }
};

}  // namespace zelt
