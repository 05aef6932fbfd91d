#include "app/config_flows.h"

#include <algorithm>
#include <system_error>

#include "config/builtin_images.h"
#include "config/profile_files.h"
#include "device/device_memory.h"
#include "device/filter_driver.h"
#include "keys/function_captions.h"
#include "macros/macro_name_field.h"
#include "util/file_io.h"

namespace zelt {
namespace {

constexpr std::uint8_t kDriverIdentifyP1 = 0x5A;
constexpr std::uint8_t kDriverIdentifyP2 = 0xD9;
constexpr std::uint32_t kPressPauses = 11;
constexpr std::uint32_t kPressPauseMs = 10;

// The state record a driver-only connect sends when no state file and no default driver-mode file
// exist: built-in image 1's current level with its smoothing bit, its lighting state byte and the
// value index of its current level, the same settings the editor shows without a mouse.
DriverStateRecord BuiltinDriverState() {
  const DataBuf& image = BuiltinImage(1);
  const std::uint8_t level = image[0x30];
  const bool smoothing = (image[0x01] & 0x20) != 0;
  DriverStateRecord record;
  record.bytes = {static_cast<std::uint8_t>(level | (smoothing ? 0x80 : 0x00)), image[0x32], 0,
                  image[static_cast<std::size_t>(0x06 + level)]};
  return record;
}

LightingFamily FamilyOfIdentifyByte(std::uint8_t byte3) {
  if (byte3 < 0x40) return LightingFamily::kSynchronous;
  if (byte3 < 0x80) return LightingFamily::kBreathing;
  if (byte3 < 0xC0) return LightingFamily::kTwoColour;
  return LightingFamily::kFlowing;
}

}  // namespace

const char* FlowOutcomeText(FlowOutcome outcome) {
  switch (outcome) {
    case FlowOutcome::kDone:
      return "done";
    case FlowOutcome::kNoDevice:
      return "no mouse connected";
    case FlowOutcome::kSessionRefused:
      return "session refused: the mouse did not open a command session";
    case FlowOutcome::kNotReady:
      return "mouse not ready";
    case FlowOutcome::kCodesRefused:
      return "the mouse's vendor and product codes are not accepted";
    case FlowOutcome::kVerifyFailed:
      return "the mouse does not hold the image written to it";
    case FlowOutcome::kTransferFailed:
      return "the mouse refused a transfer";
    case FlowOutcome::kDriverFailed:
      return "the filter driver could not be reached";
    case FlowOutcome::kCancelled:
      return "cancelled";
    case FlowOutcome::kFileError:
      return "file error";
    case FlowOutcome::kFileMissing:
      return "the driver-mode file is not in the macro folder; nothing was changed";
  }
  return "";
}

// Captions of macro codes name the macro found in the mouse's slot (remembered once read) or in
// the driver macro list.
class ConfigFlows::MouseSlotNames final : public MacroNameSource {
 public:
  MouseSlotNames(AppState& state, DeviceLink& link, FlowUi& ui)
      : state_(state), link_(link), ui_(ui) {}

  std::string MouseSlotName(int slot) override {
    const std::string& known =
        state_.macro_slots.mouse_slot_names().at(static_cast<std::size_t>(slot - 1));
    if (!known.empty() || !link_.has_device()) return known;
    std::array<std::uint8_t, kMacroNameFieldSize> field{};
    const auto address =
        static_cast<std::uint16_t>(kMacroSlotAddresses.at(static_cast<std::size_t>(slot - 1)) - 33);
    if (!ReadMemoryQuiet(link_, ui_, address, kMacroNameFieldSize, field)) return {};
    std::string name = DecodeMacroName(field);
    state_.macro_slots.SetMouseSlotName(slot, name);
    return name;
  }

  std::optional<std::string> DriverMacroName(std::size_t index) const override {
    auto names = state_.driver_macros.Names();
    if (index >= names.size()) return std::nullopt;
    return names[index];
  }

 private:
  AppState& state_;
  DeviceLink& link_;
  FlowUi& ui_;
};

ConfigFlows::ConfigFlows(AppState& state, DeviceLink& link, FlowUi& ui, Clock& clock)
    : state_(state), link_(link), ui_(ui), clock_(clock) {}

void ConfigFlows::SetTimer(PresenceTimer timer, bool running) {
  (timer == PresenceTimer::kStartup ? state_.startup_timer_running
                                    : state_.presence_timer_running) = running;
  ui_.SetTimerRunning(timer, running);
}

void ConfigFlows::EndFlow() {
  ui_.HideProgress();
  SetTimer(PresenceTimer::kStartup, false);
  SetTimer(PresenceTimer::kPresence, true);
  ui_.HideOverlays();
}

void ConfigFlows::PressPause() {
  for (std::uint32_t i = 0; i < kPressPauses; ++i) {
    clock_.SleepMs(kPressPauseMs);
    ui_.ProcessMessages();
  }
}

std::string ConfigFlows::CaptionOf(std::string_view code) {
  MouseSlotNames names(state_, link_, ui_);
  CaptionContext context;
  context.driver_only = state_.driver_only();
  context.macro_names = &names;
  context.fire_macro_codes = state_.fire_macro_codes;
  return CodeToName(code, *state_.texts, context);
}

void ConfigFlows::Start() {
  SetTimer(PresenceTimer::kPresence, false);
  SetTimer(PresenceTimer::kStartup, false);
  link_.CloseDevice();
  state_.fire_area_loaded = false;
  state_.connection = ConnectionState::kSearching;
  InitNoDevice();
  ui_.ShowMainPage();
  ui_.ShowOverlays();
  SetTimer(PresenceTimer::kStartup, true);
}

void ConfigFlows::Close() { link_.CloseDevice(); }

// ---- Reading and showing ----

void ConfigFlows::AdoptImage(bool full) {
  WorkingCopies& copies = state_.copies;
  CopyParameterRegions(state_.data_buf, copies);
  CheckParameterASection(copies.section_a);
  CheckParameterBSection(copies.section_b);
  CheckProfileSection(copies.profile);
  CheckFireKeySection(copies.fire_key);
  if (full) {
    CopyMacroAndFireRegions(state_.data_buf, copies);
    state_.macro_slots.ReadAndRefreshMacro(copies.macro_pages_a, copies.macro_pages_b);
  }
  DataBufToUI();
}

void ConfigFlows::RefreshCaptionsAndAim() {
  const std::string aim = state_.texts->Text("Str222");
  state_.editors.buttons.RefreshAimKey([this](std::string_view code) { return CaptionOf(code); },
                                       aim);
}

void ConfigFlows::DataBufToUI() {
  state_.editors.ReadFrom(state_.copies);
  RefreshCaptionsAndAim();
  ui_.RefreshEditors();
}

void ConfigFlows::UIToDataBuf() { state_.editors.WriteTo(state_.copies); }

FlowOutcome ConfigFlows::BtnRead(bool full) {
  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowOverlays();
  ui_.ShowProgress();
  const auto length = static_cast<std::uint16_t>(full ? kImageSize : regions::kParameters.length);
  const bool read = ReadMemory(link_, ui_, 0, length, state_.data_buf);
  AdoptImage(full);
  ui_.ShowMainPage();
  CloseSession(link_);
  EndFlow();
  state_.connection = ConnectionState::kConnected;
  return read ? FlowOutcome::kDone : FlowOutcome::kTransferFailed;
}

bool ConfigFlows::NoDeviceAtButton() {
  if (link_.has_device()) return false;
  ui_.ShowMessage("Str020");
  return true;
}

std::array<std::uint8_t, 2> ConfigFlows::ReadCodes() {
  std::array<std::uint8_t, 2> codes{0xFF, 0xFF};
  ReadMemoryQuiet(link_, ui_, regions::kCodes.offset, regions::kCodes.length, codes);
  return codes;
}

bool ConfigFlows::CodesAccepted(std::uint8_t vendor, std::uint8_t product) const {
  const bool expected = vendor == state_.expected_codes[0] && product == state_.expected_codes[1];
  const bool reserved =
      vendor == state_.settings.rev_manu_id && product == state_.settings.rev_pro_id;
  return expected || reserved;
}

FlowOutcome ConfigFlows::RefuseCodes() {
  SetTimer(PresenceTimer::kPresence, false);
  CloseSession(link_);
  ui_.ShowMessageBox("Str107");
  SetTimer(PresenceTimer::kStartup, false);
  SetTimer(PresenceTimer::kPresence, true);
  state_.connection = ConnectionState::kRefused;
  return FlowOutcome::kCodesRefused;
}

FlowOutcome ConfigFlows::DropUnreadyMouse() {
  CloseSession(link_);
  link_.CloseDevice();
  ui_.ShowMessageBox("Str020");
  SetTimer(PresenceTimer::kPresence, true);
  state_.connection = ConnectionState::kNoDevice;
  return FlowOutcome::kNotReady;
}

FlowOutcome ConfigFlows::ReadDevInfo(bool full_read) {
  if (state_.driver_only()) return DriverOnlyConnect();
  const SessionStart session = OpenSession(link_);
  if (!session.usable()) return FlowOutcome::kSessionRefused;
  if (!session.ready || session.memory_type == 0) return DropUnreadyMouse();
  const auto codes = ReadCodes();
  state_.codes_read = codes;
  ui_.RefreshEditors();
  if (!CodesAccepted(codes[0], codes[1])) return RefuseCodes();
  return BtnRead(full_read);
}

void ConfigFlows::InitNoDevice() {
  state_.data_buf = BuiltinImage(1);
  state_.macro_slots.ClearSlotNames();
  AdoptImage(true);
  state_.macro_slots.ForgetMouseContents();  // image 1's slots are not the mouse's
}

void ConfigFlows::EnterNoDevice() {
  ui_.CloseMenus();
  InitNoDevice();
  ui_.ShowMainPage();
  ui_.ShowOverlays();
  SetTimer(PresenceTimer::kStartup, false);
  SetTimer(PresenceTimer::kPresence, true);
  state_.connection = ConnectionState::kNoDevice;
  ui_.ShowNoDeviceMessage();
}

FlowOutcome ConfigFlows::BtnReadClick() {
  if (NoDeviceAtButton()) return FlowOutcome::kNoDevice;
  return ReadDevInfo(false);
}

FlowOutcome ConfigFlows::ReadFireArea() {
  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowOverlays();
  ui_.ShowProgress();
  FlowOutcome outcome = FlowOutcome::kDone;
  const SessionStart session = OpenSession(link_);
  if (!session.usable()) {
    outcome = FlowOutcome::kSessionRefused;
  } else if (session.ready && session.memory_type != 0) {
    const auto codes = ReadCodes();
    if (CodesAccepted(codes[0], codes[1])) {
      WorkingCopies& copies = state_.copies;
      if (!ReadMemory(link_, ui_, regions::kFireArea.offset, regions::kFireArea.length,
                      copies.fire_area)) {
        outcome = FlowOutcome::kTransferFailed;
      }
      CopyFireRecords(copies);
    } else {
      outcome = RefuseCodes();
    }
  } else {
    outcome = DropUnreadyMouse();
  }
  // The session is closed whatever happened above (a refusal closed it once already).
  CloseSession(link_);
  EndFlow();
  return outcome;
}

FlowOutcome ConfigFlows::OpenFirePage() {
  ui_.CloseMenus();
  if (state_.fire_area_loaded) return FlowOutcome::kDone;
  state_.fire_area_loaded = true;
  return ReadFireArea();
}

// ---- Applying ----

FlowOutcome ConfigFlows::BtnApplyClick() {
  PressPause();
  if (NoDeviceAtButton()) return FlowOutcome::kNoDevice;
  return state_.driver_only() ? DownloadDriverParameter() : DownloadParameter();
}

FlowOutcome ConfigFlows::BtnConfirmClick() {
  const FlowOutcome outcome = BtnApplyClick();
  if (outcome == FlowOutcome::kNoDevice) return outcome;
  PressPause();
  ui_.CloseMainWindow();
  Close();
  return outcome;
}

FlowOutcome ConfigFlows::DownloadParameter() {
  ui_.CloseMenus();
  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowOverlays();
  ui_.ShowProgress();

  WorkingCopies& copies = state_.copies;
  DataBuf& image = state_.data_buf;
  UIToDataBuf();
  state_.editors.buttons.AIMKeyToDataBuf(
      copies.profile, [this](std::string_view code) { return CaptionOf(code); },
      state_.texts->Text("Str222"), state_.texts->Text("Str220"), false,
      state_.editors.fire_key.continuous());
  WriteSectionChecksum(copies.section_a);
  WriteSectionChecksum(copies.profile);
  WriteSectionChecksum(copies.fire_key);
  PutParameterRegions(copies, image);
  PutMacroAndFireRegions(copies, image);
  ui_.ShowProgress();

  FlowOutcome outcome = FlowOutcome::kDone;
  const SessionStart session = OpenSession(link_);
  if (!session.usable()) {
    outcome = FlowOutcome::kSessionRefused;
  } else {
    if (!session.ready) {
      outcome = FlowOutcome::kNotReady;
    } else {
      if (!WriteMemory(link_, ui_, 0, regions::kParameters.length, image)) {
        outcome = FlowOutcome::kTransferFailed;
      }
      if (state_.fire_area_loaded) {
        WriteMemory(link_, ui_, regions::kFireArea.offset, regions::kFireArea.length,
                    copies.fire_area);
      }
      const auto codes = state_.Codes();
      state_.macro_slots.DownloadMacroSlots(link_, ui_, codes);
    }
    CloseSession(link_);
  }
  EndFlow();
  return outcome;
}

bool ConfigFlows::BeginDriverSession() {
  Report reply{};
  return link_.SendCommand(Command::BeginSessionCmd, reply) && reply[1] == kBeginSessionSignature &&
         link_.SendCommand(Command::IdentifyCmd, reply) && reply[1] == kIdentifySignature;
}

bool ConfigFlows::OpenDriverSession(std::uint8_t second_identify_p2, Report* last_reply) {
  if (!BeginDriverSession()) return false;
  if (!link_.SendCommand(Command::IdentifyCmd, *last_reply, kDriverIdentifyP1,
                         second_identify_p2)) {
    return false;
  }
  return (last_reply->at(2) & kDriverFormFlag) != 0;
}

void ConfigFlows::DriverApplyCommands() {
  if (!BeginDriverSession()) return;
  if (link_.SendCommand(Command::IdentifyCmd, kDriverIdentifyP1, kDriverIdentifyP2)) {
    const auto& bytes = state_.driver_state.bytes;
    link_.SendCommand(Command::DriverStateCmd, bytes[0], bytes[1], bytes[2], bytes[3]);
    // The record reaches the next connect through the file; a failed write leaves the old one.
    WriteDriverStateFile(state_.macro_folder, state_.driver_state, nullptr);
  }
  link_.SendCommand(Command::EndSessionCmd);
}

void ConfigFlows::WriteSectionsToDriver(bool profile_before_fire_key) {
  DriverHandle* driver = link_.driver();
  if (!driver) return;
  const WorkingCopies& copies = state_.copies;
  std::array<std::uint8_t, 2 + 11> fire_key_block{};
  std::copy(copies.fire_key.begin(), copies.fire_key.end(), fire_key_block.begin() + 2);
  DriverWrite(*driver, regions::kSectionB.offset, copies.section_b);
  DriverWrite(*driver, regions::kSectionA.offset, copies.section_a);
  if (profile_before_fire_key) DriverWrite(*driver, regions::kProfile.offset, copies.profile);
  DriverWrite(*driver, kDriverFireKeyAddress, fire_key_block);
  if (!profile_before_fire_key) DriverWrite(*driver, regions::kProfile.offset, copies.profile);
}

FlowOutcome ConfigFlows::DownloadDriverParameter() {
  ui_.CloseMenus();
  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowOverlays();
  ui_.ShowProgress();

  WorkingCopies& copies = state_.copies;
  state_.editors.buttons.AIMKeyToDataBuf(
      copies.profile, [this](std::string_view code) { return CaptionOf(code); },
      state_.texts->Text("Str222"), state_.texts->Text("Str220"), true,
      state_.editors.fire_key.continuous());
  WriteSectionChecksum(copies.profile);
  state_.editors.WriteDriverTo(copies, state_.driver_state.bytes);
  WriteSectionChecksum(copies.section_a);

  DriverApplyCommands();
  WriteSectionsToDriver(false);
  if (DriverHandle* driver = link_.driver()) state_.driver_macros.WriteToDriver(*driver);
  EndFlow();
  return link_.driver() ? FlowOutcome::kDone : FlowOutcome::kDriverFailed;
}

// ---- Driver-only connect ----

void ConfigFlows::ReadSectionsFromDriver() {
  DriverHandle* driver = link_.driver();
  WorkingCopies& copies = state_.copies;
  DriverRead(*driver, regions::kSectionA.offset, copies.section_a);
  CheckParameterASection(copies.section_a);
  DriverRead(*driver, regions::kSectionB.offset, copies.section_b);
  CheckParameterBSection(copies.section_b);
  DriverRead(*driver, regions::kProfile.offset, copies.profile);
  CheckProfileSection(copies.profile);
  std::array<std::uint8_t, 2 + 11> fire_key_block{};
  DriverRead(*driver, kDriverFireKeyAddress, fire_key_block);
  std::copy(fire_key_block.begin() + 2, fire_key_block.end(), copies.fire_key.begin());
}

FlowOutcome ConfigFlows::DriverConnectFailed() {
  ui_.ShowMessageBox("Str020");
  SetTimer(PresenceTimer::kStartup, false);
  SetTimer(PresenceTimer::kPresence, true);
  Report reply{};
  if (OpenDriverSession(0, &reply)) {
    link_.SendCommand(Command::SystemReloadCmd);
    link_.SendCommand(Command::EndSessionCmd);
  }
  return FlowOutcome::kDriverFailed;
}

FlowOutcome ConfigFlows::DriverOnlyConnect() {
  state_.driver_macros.Clear();
  Report reply{};
  if (!OpenDriverSession(kDriverIdentifyP2, &reply)) return DriverConnectFailed();
  const LightingFamily family = FamilyOfIdentifyByte(reply[3]);
  state_.editors.lighting.SetKind(family);

  state_.driver_state = ReadDriverStateRecord(state_.macro_folder).value_or(BuiltinDriverState());
  const auto& state_bytes = state_.driver_state.bytes;
  link_.SendCommand(Command::DriverStateCmd, state_bytes[0], state_bytes[1], state_bytes[2],
                    state_bytes[3]);
  if (!link_.SendCommand(Command::EndSessionCmd)) return DriverConnectFailed();

  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowOverlays();
  Report id_reply{};
  if (!link_.SendCommand(Command::DriverIdCmd, id_reply)) {
    ui_.HideProgress();
    return DriverConnectFailed();
  }
  const auto driver_id = static_cast<std::uint16_t>(id_reply[1] << 8 | id_reply[2]);
  if (!link_.OpenDriverDevice(driver_id)) {
    ui_.HideProgress();
    return DriverConnectFailed();
  }

  ui_.ShowProgress();
  ReadSectionsFromDriver();
  ui_.HideProgress();

  state_.editors.ReadDriverFrom(state_.copies, state_.driver_state.bytes, family);
  const auto codes = state_.Codes();
  state_.driver_macros.ReadFromDriver(*link_.driver(), codes);
  RefreshCaptionsAndAim();
  ui_.RefreshEditors();

  SetTimer(PresenceTimer::kStartup, false);
  SetTimer(PresenceTimer::kPresence, true);
  ui_.HideOverlays();
  ui_.HideProgress();
  state_.connection = ConnectionState::kConnected;
  return FlowOutcome::kDone;
}

// ---- Resets ----

FlowOutcome ConfigFlows::ResetClick(int default_number) {
  PressPause();
  if (NoDeviceAtButton()) return FlowOutcome::kNoDevice;
  if (state_.driver_only()) {
    return TLDefaultDriverParameter(state_.macro_folder / DriverResetFileName(default_number));
  }
  return TLDefaultParameter(ResetFileName(default_number));
}

FlowOutcome ConfigFlows::BtnDefaultClick() {
  PressPause();
  if (!link_.has_device()) return FlowOutcome::kNoDevice;
  if (state_.driver_only()) {
    return TLDefaultDriverParameter(state_.macro_folder / DriverResetFileName(1));
  }
  return TLDefaultParameter(ResetFileName(1));
}

FlowOutcome ConfigFlows::TLDefaultParameter(const std::string& file_name) {
  ui_.CloseMenus();
  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowProgress();
  const std::filesystem::path path = state_.macro_folder / file_name;
  std::error_code exists_error;
  if (std::filesystem::exists(path, exists_error)) {
    std::string error;
    DataBuf image = state_.data_buf;
    if (!ReadImageFile(path, image, &error)) {
      // A reset file that is there but cannot be read is not quietly replaced by image 1.
      ui_.HideProgress();
      ui_.ShowFileError(error);
      SetTimer(PresenceTimer::kPresence, true);
      return FlowOutcome::kFileError;
    }
    state_.data_buf = image;
  } else {
    state_.data_buf = BuiltinImage(1);
  }
  state_.editors.buttons.ClearCodes();
  const FlowOutcome outcome = MemoToDataBufOnClick();
  ui_.HideProgress();
  SetTimer(PresenceTimer::kStartup, false);
  SetTimer(PresenceTimer::kPresence, true);
  state_.fire_area_loaded = true;
  state_.macro_slots.ClearMouseSlotNames();
  state_.macro_slots.ClearSlotNames();
  return outcome;
}

FlowOutcome ConfigFlows::MemoToDataBufOnClick() {
  AdoptImage(true);
  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowOverlays();
  ui_.ShowProgress();
  FlowOutcome outcome = FlowOutcome::kDone;
  const SessionStart session = OpenSession(link_);
  if (!session.usable()) {
    outcome = FlowOutcome::kSessionRefused;
  } else {
    if (session.ready && session.memory_type != 0) {
      switch (WriteImageVerified(link_, ui_, state_.data_buf)) {
        case VerifiedWriteResult::kVerified:
          break;
        case VerifiedWriteResult::kInterrupted:
          outcome = FlowOutcome::kTransferFailed;
          break;
        case VerifiedWriteResult::kFailed:
          outcome = FlowOutcome::kVerifyFailed;
          break;
      }
    } else {
      outcome = FlowOutcome::kNotReady;
    }
    CloseSession(link_);
  }
  EndFlow();
  return outcome;
}

FlowOutcome ConfigFlows::TLDefaultDriverParameter(const std::filesystem::path& path) {
  SetTimer(PresenceTimer::kPresence, false);
  ui_.ShowOverlays();
  ui_.ShowProgress();
  FlowOutcome outcome = FlowOutcome::kFileMissing;
  std::error_code exists_error;
  if (std::filesystem::exists(path, exists_error)) {
    std::string error;
    if (auto sections = ReadDriverModeFile(path, &error)) {
      WorkingCopies& copies = state_.copies;
      copies.section_a = sections->section_a;
      copies.section_b = sections->section_b;
      copies.profile = sections->profile;
      copies.fire_key = sections->fire_key;
      state_.driver_state = sections->state;
      WriteSectionsToDriver(true);
      DriverApplyCommands();
      outcome = DriverOnlyConnect();
    } else {
      ui_.ShowFileError(error);
      outcome = FlowOutcome::kFileError;
    }
  }
  ui_.HideProgress();
  SetTimer(PresenceTimer::kPresence, true);
  ui_.HideOverlays();
  return outcome;
}

// ---- Profiles ----

FlowOutcome ConfigFlows::BtnSaveClick() {
  ui_.CloseMenus();
  if (NoDeviceAtButton()) return FlowOutcome::kNoDevice;
  const auto target = ui_.ChooseProfileToSave();
  if (!target) return FlowOutcome::kCancelled;
  const FlowOutcome connect = ReadDevInfo(true);

  std::vector<std::uint8_t> bytes;
  if (state_.driver_only()) {
    bytes.assign(kDriverFileSize, 0);
    if (DriverHandle* driver = link_.driver()) DriverRead(*driver, 0, bytes);
    std::copy(state_.driver_state.bytes.begin(), state_.driver_state.bytes.end(),
              bytes.begin() + kDriverStateAddress);
  } else {
    bytes.assign(state_.data_buf.begin(), state_.data_buf.end());
  }
  std::string error;
  if (!WriteFileAtomic(*target, bytes, &error)) {
    ui_.ShowFileError(error);
    return FlowOutcome::kFileError;
  }
  return connect;
}

FlowOutcome ConfigFlows::BtnLoadClick() {
  ui_.CloseMenus();
  if (NoDeviceAtButton()) return FlowOutcome::kNoDevice;
  const auto source = ui_.ChooseProfileToLoad();
  if (!source) return FlowOutcome::kCancelled;
  if (state_.driver_only()) {
    std::error_code exists_error;
    if (!std::filesystem::exists(*source, exists_error)) {
      ui_.ShowFileError("cannot open " + source->string() + ": no such file");
      return FlowOutcome::kFileError;
    }
    return TLDefaultDriverParameter(*source);
  }
  std::string error;
  DataBuf image = state_.data_buf;
  if (!ReadImageFile(*source, image, &error)) {
    ui_.ShowFileError(error);
    return FlowOutcome::kFileError;
  }
  state_.data_buf = image;
  state_.fire_area_loaded = true;
  state_.macro_slots.ClearMouseSlotNames();
  state_.macro_slots.ClearSlotNames();
  return MemoToDataBufOnClick();
}

}  // namespace zelt
