#pragma once
// The flows that move the configuration between the mouse (or the filter driver) and the editors:
// the connect check, reading and adopting an image, applying it, the resets, the profile files and
// the no-device state. They run on the user-interface thread, talk to the screen only through the
// flow UI port and keep the presence timers' state in the application state.
//
// Each flow returns what became of it. The window shows some outcomes as messages and keeps silent
// about others; the command line reports every one.

#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "device/clock.h"
#include "device/device_link.h"
#include "device/flow_ui.h"

namespace zelt {

enum class FlowOutcome {
  kDone,
  kNoDevice,        // no device handle: "Str020" shown by a button
  kSessionRefused,  // begin or identify failed, or identify did not answer 0xAA: silent
  kNotReady,        // ready flag clear or memory type unknown (the connect check shows "Str020")
  kCodesRefused,    // the mouse's vendor and product codes are not accepted: "Str107"
  kVerifyFailed,    // differences survived the repair passes of a whole-image write: "Str109"
  kTransferFailed,  // an address command was refused during a transfer: silent in the window
  kDriverFailed,    // the driver-only connect failed: "Str020"
  kCancelled,       // the user cancelled a file dialog
  kFileError,       // a file could not be read or written: the system's error shown
  kFileMissing,     // a driver-mode default file is not there: nothing changed, silently
};
// A short English description for logs and the command line.
const char* FlowOutcomeText(FlowOutcome outcome);

class ConfigFlows {
 public:
  ConfigFlows(AppState& state, DeviceLink& link, FlowUi& ui, Clock& clock);

  // Window creation: the editor shows built-in image 1 under the overlays and the start-up timer
  // runs until the first flow ends.
  void Start();
  // Window close: the device handle becomes "none".
  void Close();

  // The connect check after the mouse was opened: a partial read (or a full one for the profile
  // save), or the driver-only connect in driver-only mode.
  FlowOutcome ReadDevInfo(bool full_read);
  // Built-in image 1 in the editor, overlays shown, the no-device notice.
  void EnterNoDevice();

  // The buttons.
  FlowOutcome BtnReadClick();
  FlowOutcome BtnApplyClick();
  FlowOutcome BtnConfirmClick();
  FlowOutcome ResetClick(int default_number);  // the Reset, Confirm 2 and Confirm 3 buttons
  FlowOutcome BtnDefaultClick();               // the engineer page's restore-defaults button
  FlowOutcome BtnSaveClick();
  FlowOutcome BtnLoadClick();
  // The first opening of the fire macro page reads the fire area once.
  FlowOutcome OpenFirePage();

  // The caption a button with this code shows: macro codes name the macro in the mouse's slot
  // (read from the mouse once, then remembered) or in the driver macro list.
  std::string CaptionOf(std::string_view code);

  // Building blocks, public so tests and later flows can run them alone.
  FlowOutcome BtnRead(bool full);
  void AdoptImage(bool full);
  void DataBufToUI();
  void UIToDataBuf();
  FlowOutcome DownloadParameter();
  FlowOutcome DownloadDriverParameter();
  FlowOutcome ReadFireArea();
  void InitNoDevice();
  FlowOutcome TLDefaultParameter(const std::string& file_name);
  FlowOutcome MemoToDataBufOnClick();
  FlowOutcome TLDefaultDriverParameter(const std::filesystem::path& path);
  FlowOutcome DriverOnlyConnect();

 private:
  class MouseSlotNames;

  void SetTimer(PresenceTimer timer, bool running);
  // The common ending of a flow: progress hidden, start-up timer stopped, presence timer started,
  // overlays hidden.
  void EndFlow();
  // The pressed-button pause: eleven times 10 ms, letting window messages run after each.
  void PressPause();
  // True, with "Str020" shown, when a button finds no device handle.
  bool NoDeviceAtButton();
  // The vendor and product codes in the mouse's memory (0xFF where the read failed).
  std::array<std::uint8_t, 2> ReadCodes();
  bool CodesAccepted(std::uint8_t vendor, std::uint8_t product) const;
  FlowOutcome RefuseCodes();
  FlowOutcome DropUnreadyMouse();
  FlowOutcome DriverConnectFailed();
  // Begin answered 0xA6, then identify answered 0xAA: the opening of every driver-only exchange.
  bool BeginDriverSession();
  // That opening, then the identify 0x5A form with the driver flag; the last reply.
  bool OpenDriverSession(std::uint8_t second_identify_p2, Report* last_reply);
  // The command part of the driver apply; writes the state file when the driver flag answered.
  void DriverApplyCommands();
  void WriteSectionsToDriver(bool profile_before_fire_key);
  void ReadSectionsFromDriver();
  void RefreshCaptionsAndAim();

  AppState& state_;
  DeviceLink& link_;
  FlowUi& ui_;
  Clock& clock_;
};

}  // namespace zelt
