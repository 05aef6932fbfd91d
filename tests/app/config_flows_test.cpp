// The configuration flows against the virtual mouse in virtual time: command sequences, bytes
// written, messages shown and timer states, in both storage modes.

#include "app/config_flows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "config/profile_files.h"
#include "support/app_rig.h"
#include "util/file_io.h"

namespace zelt {
namespace {

using test_support::AppRig;
using test_support::Byte;
using test_support::ParseFaults;
using test_support::SettingsWithMode;

constexpr auto kBegin = Byte(Command::BeginSessionCmd);
constexpr auto kEnd = Byte(Command::EndSessionCmd);
constexpr auto kIdentify = Byte(Command::IdentifyCmd);
constexpr auto kReload = Byte(Command::SystemReloadCmd);
constexpr auto kDriverState = Byte(Command::DriverStateCmd);
constexpr auto kDriverId = Byte(Command::DriverIdCmd);

void WriteBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(path, bytes, &error)) << error;
}

// An image whose macro slot 5 holds a named macro played by button 6 of key mode 1, and whose
// fire area holds a record: bytes a partial read must never disturb.
DataBuf ImageWithMacroAndFireArea() {
  DataBuf image = BuiltinImage(1);
  const std::uint8_t name[] = {0, 'M', 0, 'a'};
  std::copy(std::begin(name), std::end(name), image.begin() + 0x600);
  const std::uint8_t record[] = {0x00, 0x03, 0x81, 0x01, 0x00};
  std::copy(std::begin(record), std::end(record), image.begin() + 0x620);
  image[0x620 + 4] = static_cast<std::uint8_t>((0x03 + 0x81 + 0x01) ^ 0x5A);
  image[0x500] = 1;
  image[0x501] = 0x02;
  image[0x502] = 0xA1;
  // Button 6 of key mode 1 plays slot 5 ("060621"); the profile checksum follows.
  image[0x4F] = 0x06;
  image[0x50] = 0x06;
  image[0x51] = 0x21;
  std::uint8_t sum = 0;
  for (int i = 0x40; i < 0x76; ++i) sum = static_cast<std::uint8_t>(sum + image[i]);
  image[0x76] = sum ^ 0x5A;
  return image;
}

TEST(ConfigFlowsTest, StartShowsImageOneUnderTheOverlaysWithoutTalkingToTheMouse) {
  AppRig app;
  app.Start();
  EXPECT_TRUE(app.Commands().empty());
  EXPECT_EQ(app.state.data_buf, BuiltinImage(1));
  EXPECT_EQ(app.state.editors.buttons.code(1, 1), "010100");
  EXPECT_EQ(app.state.editors.dpi.count(), 7);
  EXPECT_TRUE(app.rig.ui.overlays);
  EXPECT_TRUE(app.state.startup_timer_running);
  EXPECT_FALSE(app.state.presence_timer_running);
  EXPECT_EQ(app.state.connection, ConnectionState::kSearching);
}

TEST(ConfigFlowsTest, ConnectCheckReadsTheParametersAndEndsTheFlow) {
  AppRig app;
  app.Start();
  EXPECT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  const auto commands = app.Commands();
  ASSERT_GE(commands.size(), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(commands.begin(), commands.begin() + 2),
            (std::vector<std::uint8_t>{kBegin, kIdentify}));
  EXPECT_EQ(std::vector<std::uint8_t>(commands.end() - 2, commands.end()),
            (std::vector<std::uint8_t>{kReload, kEnd}));
  EXPECT_EQ(app.state.connection, ConnectionState::kConnected);
  EXPECT_FALSE(app.rig.ui.overlays);
  EXPECT_FALSE(app.state.startup_timer_running);
  EXPECT_TRUE(app.state.presence_timer_running);
  EXPECT_EQ(app.state.codes_read, (std::array<std::uint8_t, 2>{0xFF, 0xFF}));
  // A partial read leaves the rest of DataBuf as the read's fill.
  EXPECT_EQ(app.state.data_buf[0x0FE], BuiltinImage(1)[0x0FE]);
  EXPECT_EQ(app.state.data_buf[0x0FF], 0xFF);
  EXPECT_EQ(app.state.data_buf[0x7FF], 0xFF);
}

TEST(ConfigFlowsTest, VendorAndProductCodesAreCheckedAgainstImageOneAndTheReservedPair) {
  struct Case {
    const char* codes;
    int rev_manu, rev_pro;
    bool accepted;
  };
  const Case cases[] = {
      {"255:255", 0, 0, true}, {"3:7", 0, 0, false}, {"3:7", 3, 7, true},
      {"0:0", 0, 0, true},     {"3:7", 3, 8, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.codes);
    Settings settings;
    settings.rev_manu_id = static_cast<std::uint8_t>(c.rev_manu);
    settings.rev_pro_id = static_cast<std::uint8_t>(c.rev_pro);
    AppRig app(ParseFaults(std::string("codes=") + c.codes), BuiltinImage(1), settings);
    app.Start();
    const FlowOutcome outcome = app.flows.ReadDevInfo(false);
    if (c.accepted) {
      EXPECT_EQ(outcome, FlowOutcome::kDone);
      EXPECT_EQ(app.state.connection, ConnectionState::kConnected);
      EXPECT_TRUE(app.rig.ui.messages.empty());
    } else {
      EXPECT_EQ(outcome, FlowOutcome::kCodesRefused);
      EXPECT_EQ(app.state.connection, ConnectionState::kRefused);
      EXPECT_EQ(app.rig.ui.messages, std::vector<std::string>{"box:Str107"});
      // The handle stays open and nothing beyond the two code bytes was read.
      EXPECT_TRUE(app.rig.link.has_device());
      const auto commands = app.Commands();
      EXPECT_EQ(std::vector<std::uint8_t>(commands.end() - 2, commands.end()),
                (std::vector<std::uint8_t>{kReload, kEnd}));
      EXPECT_FALSE(app.state.startup_timer_running);
      EXPECT_TRUE(app.state.presence_timer_running);
      EXPECT_EQ(app.state.data_buf, BuiltinImage(1));
    }
  }
}

TEST(ConfigFlowsTest, UnreadyMouseIsDroppedWithStr020) {
  for (const char* fault : {"notready", "memtype=0"}) {
    SCOPED_TRACE(fault);
    AppRig app(ParseFaults(fault));
    app.Start();
    EXPECT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kNotReady);
    EXPECT_EQ(app.Commands(), (std::vector<std::uint8_t>{kBegin, kIdentify, kReload, kEnd}));
    EXPECT_FALSE(app.rig.link.has_device());
    EXPECT_EQ(app.rig.ui.messages, std::vector<std::string>{"box:Str020"});
    EXPECT_TRUE(app.state.presence_timer_running);
  }
}

TEST(ConfigFlowsTest, SessionFailuresEndTheConnectCheckSilently) {
  for (const char* fault : {"error=1:9", "silent=3", "begin=0x00"}) {
    SCOPED_TRACE(fault);
    AppRig app(ParseFaults(fault));
    app.Start();
    const FlowOutcome outcome = app.flows.ReadDevInfo(false);
    if (std::string(fault) == "begin=0x00") {
      // EEPROM flows do not look at the begin-session reply byte.
      EXPECT_EQ(outcome, FlowOutcome::kDone);
      continue;
    }
    EXPECT_EQ(outcome, FlowOutcome::kSessionRefused);
    EXPECT_TRUE(app.rig.ui.messages.empty());
    EXPECT_EQ(app.state.connection, ConnectionState::kSearching);
    const auto commands = app.Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), kReload), 0);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), kEnd), 0);
  }
}

TEST(ConfigFlowsTest, FullReadAdoptsMacroPagesAndFireAreaAndRebuildsTheSlots) {
  const DataBuf image = ImageWithMacroAndFireArea();
  AppRig app({}, image);
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(true), FlowOutcome::kDone);
  EXPECT_EQ(app.state.data_buf, image);
  EXPECT_EQ(app.state.copies.fire_area[2], 0xA1);
  EXPECT_EQ(app.state.copies.fire_records[2], 0xA1);
  EXPECT_EQ(app.state.macro_slots.slot_names()[4], "Ma");
  EXPECT_EQ(app.state.editors.buttons.code(1, 6), "060621");
}

TEST(ConfigFlowsTest, ApplyWithReadyFlagClearOnlyOpensAndClosesTheSession) {
  AppRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  VirtualMouseFaults faults = app.rig.mouse.faults();
  faults.not_ready = true;
  app.rig.mouse.set_faults(faults);
  app.rig.mouse.ClearRequests();
  const std::size_t pauses_before = app.rig.clock.pauses().size();
  EXPECT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kNotReady);
  EXPECT_EQ(app.Commands(), (std::vector<std::uint8_t>{kBegin, kIdentify, kReload, kEnd}));
  EXPECT_TRUE(app.rig.ui.messages.empty());
  // The pressed-button pause: eleven times 10 ms before anything is sent.
  const auto& pauses = app.rig.clock.pauses();
  ASSERT_GE(pauses.size(), pauses_before + 11);
  EXPECT_EQ(std::vector<std::uint32_t>(pauses.begin() + pauses_before,
                                       pauses.begin() + pauses_before + 11),
            std::vector<std::uint32_t>(11, 10));
}

TEST(ConfigFlowsTest, ApplyWithUnknownMemoryTypeStillWritesTheParameters) {
  AppRig app(ParseFaults("memtype=0"));
  app.Start();
  EXPECT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  EXPECT_EQ(app.WriteAddresses(), (std::vector<std::pair<int, int>>{{0, 255}}));
}

TEST(ConfigFlowsTest, PartialReadThenApplyWritesOnlyTheParameterBlock) {
  const DataBuf image = ImageWithMacroAndFireArea();
  AppRig app({}, image);
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.rig.mouse.ClearRequests();
  ASSERT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  // Button 6 plays slot 5, whose page was never read: the slot in the mouse keeps its macro.
  EXPECT_EQ(app.WriteAddresses(), (std::vector<std::pair<int, int>>{{0, 255}}));
  EXPECT_EQ(app.rig.mouse.memory(), image);
}

TEST(ConfigFlowsTest, ApplyAfterFullReadWritesUnchangedBytesBack) {
  const DataBuf image = ImageWithMacroAndFireArea();
  AppRig app({}, image);
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(true), FlowOutcome::kDone);
  app.state.fire_area_loaded = true;
  ASSERT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  EXPECT_EQ(app.rig.mouse.memory(), image);
  const auto writes = app.WriteAddresses();
  ASSERT_GE(writes.size(), 2u);
  EXPECT_EQ(writes[0], (std::pair<int, int>{0, 255}));
  EXPECT_EQ(writes[1], (std::pair<int, int>{0x500, 256}));
}

TEST(ConfigFlowsTest, EditsReachTheMouseWithFreshChecksums) {
  AppRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.state.editors.dpi.SetCount(3);
  app.state.editors.engineer.SetYOffset(0, -10);
  app.state.editors.buttons.SetKeyMode(2);
  ASSERT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  const DataBuf memory = app.rig.mouse.memory();
  EXPECT_EQ(memory[0x02], 3);
  EXPECT_EQ(memory[0x30], 2);  // the highest level became current
  EXPECT_EQ(memory[0x31], 0xFD);
  EXPECT_EQ(memory[0x34], 0x80);
  EXPECT_EQ(memory[0x35], 0x7F);
  EXPECT_EQ(memory[0xB0], 0xF6);
  EXPECT_EQ(memory[0xB1], 0x09);
  EXPECT_TRUE(SectionChecksumValid(RegionOf(memory, regions::kSectionA)));
  EXPECT_TRUE(SectionChecksumValid(RegionOf(memory, regions::kProfile)));
  EXPECT_TRUE(SectionChecksumValid(RegionOf(memory, regions::kFireKey)));
}

TEST(ConfigFlowsTest, ButtonsWithoutDeviceShowStr020AndDoNothingElse) {
  AppRig app;
  app.flows.Start();
  EXPECT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kNoDevice);
  EXPECT_EQ(app.flows.BtnConfirmClick(), FlowOutcome::kNoDevice);
  EXPECT_EQ(app.flows.ResetClick(2), FlowOutcome::kNoDevice);
  EXPECT_EQ(app.flows.BtnReadClick(), FlowOutcome::kNoDevice);
  app.rig.ui.profile_path = app.folder.path() / "p.bin";
  EXPECT_EQ(app.flows.BtnSaveClick(), FlowOutcome::kNoDevice);
  EXPECT_EQ(app.flows.BtnLoadClick(), FlowOutcome::kNoDevice);
  EXPECT_EQ(app.rig.ui.messages, std::vector<std::string>(6, "Str020"));
  EXPECT_EQ(app.flows.BtnDefaultClick(), FlowOutcome::kNoDevice);
  EXPECT_EQ(app.rig.ui.messages.size(), 6u);  // the engineer page's button stays silent
  EXPECT_FALSE(app.rig.ui.window_closed);
  EXPECT_FALSE(std::filesystem::exists(app.folder.path() / "p.bin"));
  EXPECT_TRUE(app.Commands().empty());
}

TEST(ConfigFlowsTest, ConfirmAppliesThenClosesTheWindow) {
  AppRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  EXPECT_EQ(app.flows.BtnConfirmClick(), FlowOutcome::kDone);
  EXPECT_TRUE(app.rig.ui.window_closed);
  EXPECT_FALSE(app.rig.link.has_device());
}

TEST(ConfigFlowsTest, ResetWithoutItsFileWritesImageOneVerified) {
  DataBuf changed = BuiltinImage(2);
  changed[0x700] = 0x55;  // a macro page byte a reset must clear
  AppRig app({}, changed);
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  EXPECT_EQ(app.flows.ResetClick(2), FlowOutcome::kDone);
  EXPECT_EQ(app.rig.mouse.memory(), BuiltinImage(1));
  EXPECT_TRUE(app.state.fire_area_loaded);
  EXPECT_EQ(app.state.editors.dpi.count(), 7);
  EXPECT_TRUE(app.state.presence_timer_running);
}

TEST(ConfigFlowsTest, ResetThatDoesNotStickShowsStr109) {
  DataBuf changed = BuiltinImage(1);
  changed[0x10] = 0x55;
  AppRig app(ParseFaults("stuck=0x10:all"), changed);
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  EXPECT_EQ(app.flows.ResetClick(1), FlowOutcome::kVerifyFailed);
  EXPECT_EQ(app.rig.ui.messages, std::vector<std::string>{"Str109"});
  EXPECT_EQ(app.rig.mouse.memory()[0x10], 0x55);
  EXPECT_TRUE(app.state.presence_timer_running);
  EXPECT_FALSE(app.rig.ui.overlays);
}

TEST(ConfigFlowsTest, ResetFileReplacesOnlyTheBytesItHas) {
  AppRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.state.data_buf = BuiltinImage(2);
  std::vector<std::uint8_t> short_file(BuiltinImage(3).begin(), BuiltinImage(3).begin() + 100);
  short_file[0x02] = 0x05;  // five DPI levels; section A's checksum is then wrong
  WriteBytes(app.folder.path() / "ZELT30qData_Cfg3.bin", short_file);
  EXPECT_EQ(app.flows.ResetClick(3), FlowOutcome::kDone);
  DataBuf expected = BuiltinImage(2);
  std::copy(short_file.begin(), short_file.end(), expected.begin());
  EXPECT_EQ(app.rig.mouse.memory(), expected);
  EXPECT_EQ(app.state.data_buf, expected);
}

TEST(ConfigFlowsTest, LoadedFileGoesOutUnchangedWhileTheEditorShowsRepairValues) {
  AppRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  DataBuf file = BuiltinImage(1);
  file[0x2F] ^= 0x01;  // section A checksum wrong
  file[0x100] = 0x42;
  const auto path = app.folder.path() / "profile.bin";
  WriteBytes(path, file);
  app.rig.ui.profile_path = path;
  EXPECT_EQ(app.flows.BtnLoadClick(), FlowOutcome::kDone);
  EXPECT_EQ(app.rig.mouse.memory(), file);
  EXPECT_EQ(app.state.copies.section_a[0x02], 0x04);  // the repair values' level count
  EXPECT_EQ(app.state.editors.dpi.count(), 4);
  EXPECT_TRUE(app.state.fire_area_loaded);
}

TEST(ConfigFlowsTest, ProfileSaveReadsEverythingAndWritesTheImage) {
  const DataBuf image = ImageWithMacroAndFireArea();
  AppRig app({}, image);
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  const auto path = app.folder.path() / "profile.bin";
  app.rig.ui.profile_path = path;
  EXPECT_EQ(app.flows.BtnSaveClick(), FlowOutcome::kDone);
  std::string error;
  const auto saved = ReadFileBytes(path, 4096, &error);
  ASSERT_TRUE(saved) << error;
  EXPECT_EQ(*saved, std::vector<std::uint8_t>(image.begin(), image.end()));
}

TEST(ConfigFlowsTest, ProfileFileThatCannotBeReadIsReportedAndNothingIsWritten) {
  AppRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.rig.mouse.ClearRequests();
  app.rig.ui.profile_path = app.folder.path() / "missing.bin";
  EXPECT_EQ(app.flows.BtnLoadClick(), FlowOutcome::kFileError);
  ASSERT_EQ(app.rig.ui.messages.size(), 1u);
  EXPECT_EQ(app.rig.ui.messages[0].rfind("file:", 0), 0u);
  EXPECT_TRUE(app.Commands().empty());
}

TEST(ConfigFlowsTest, FireAreaIsReadOnceWhenTheFirePageFirstOpens) {
  const DataBuf image = ImageWithMacroAndFireArea();
  AppRig app({}, image);
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  EXPECT_EQ(app.state.copies.fire_area[2], 0x00);
  EXPECT_EQ(app.flows.OpenFirePage(), FlowOutcome::kDone);
  EXPECT_TRUE(app.state.fire_area_loaded);
  EXPECT_EQ(app.state.copies.fire_area[2], 0xA1);
  EXPECT_EQ(app.state.copies.fire_records[2], 0xA1);
  app.rig.mouse.ClearRequests();
  EXPECT_EQ(app.flows.OpenFirePage(), FlowOutcome::kDone);
  EXPECT_TRUE(app.Commands().empty());
}

TEST(ConfigFlowsTest, NoDeviceStateShowsImageOneCoveredWithTheNotice) {
  AppRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.state.editors.dpi.SetCount(2);
  app.flows.EnterNoDevice();
  EXPECT_EQ(app.state.editors.dpi.count(), 7);
  EXPECT_TRUE(app.rig.ui.overlays);
  EXPECT_EQ(app.rig.ui.messages, std::vector<std::string>{"Str100+Str101"});
  EXPECT_EQ(app.state.connection, ConnectionState::kNoDevice);
  EXPECT_TRUE(app.state.presence_timer_running);
  EXPECT_FALSE(app.state.startup_timer_running);
}

// ---- Driver-only mode ----

struct DriverRig : AppRig {
  DriverRig(VirtualMouseFaults faults = {})
      : AppRig(faults, BuiltinImage(1), SettingsWithMode(1)) {}

  std::vector<std::pair<std::uint32_t, std::uint32_t>> DriverWrites() const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> writes;
    for (const auto& request : rig.driver.requests()) {
      if (request.code == kDriverWriteRequest) writes.emplace_back(request.address, request.length);
    }
    return writes;
  }
};

TEST(DriverFlowsTest, ConnectSendsTheStateRecordAndReadsTheDriverSections) {
  DriverRig app;
  DriverStateRecord record;
  record.bytes = {0x83, 0x23, 0x77, 0x05};
  std::string error;
  ASSERT_TRUE(WriteDriverStateFile(app.folder.path(), record, &error)) << error;
  app.Start();
  EXPECT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  EXPECT_EQ(app.Commands(), (std::vector<std::uint8_t>{kBegin, kIdentify, kIdentify, kDriverState,
                                                       kEnd, kDriverId}));
  EXPECT_EQ(app.rig.mouse.driver_state(), record.bytes);
  EXPECT_TRUE(app.rig.link.has_driver());
  EXPECT_EQ(app.state.editors.dpi.current_level(), 3);
  EXPECT_TRUE(app.state.editors.engineer.smoothing());
  EXPECT_EQ(app.state.connection, ConnectionState::kConnected);
  EXPECT_FALSE(app.rig.ui.overlays);
  // The empty driver memory reads as zeros, which the checks repair.
  EXPECT_EQ(app.state.copies.section_b[0], 0x01);
}

TEST(DriverFlowsTest, ConnectWithoutAnyStateFileSendsImageOnesRecord) {
  DriverRig app;
  app.Start();
  EXPECT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  EXPECT_EQ(app.rig.mouse.driver_state(), (std::array<std::uint8_t, 4>{0x81, 0x42, 0x00, 0x04}));
}

TEST(DriverFlowsTest, ConnectFailureShowsStr020AndRunsTheRecoverySequence) {
  DriverRig app(ParseFaults("nodriverflag"));
  app.Start();
  EXPECT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDriverFailed);
  EXPECT_EQ(app.rig.ui.messages, std::vector<std::string>{"box:Str020"});
  // The connect's three commands, then the recovery's three; the missing flag stops both.
  EXPECT_EQ(app.Commands(), (std::vector<std::uint8_t>{kBegin, kIdentify, kIdentify, kBegin,
                                                       kIdentify, kIdentify}));
  EXPECT_TRUE(app.state.presence_timer_running);
  EXPECT_FALSE(app.state.startup_timer_running);
}

TEST(DriverFlowsTest, ApplyWithBeginAnsweredA5SendsNothingMoreButWritesTheDriver) {
  DriverRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  VirtualMouseFaults faults = app.rig.mouse.faults();
  faults.begin_reply = 0xA5;
  app.rig.mouse.set_faults(faults);
  app.rig.mouse.ClearRequests();
  const std::size_t driver_requests_before = app.rig.driver.requests().size();
  EXPECT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  EXPECT_EQ(app.Commands(), (std::vector<std::uint8_t>{kBegin}));
  const auto all = app.DriverWrites();
  ASSERT_GE(app.rig.driver.requests().size(), driver_requests_before);
  EXPECT_EQ(all, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                     {0x030, 8}, {0x000, 48}, {0x0F0, 13}, {0x040, 55}, {0x100, 0}}));
}

TEST(DriverFlowsTest, ApplySendsTheStateRecordAndKeepsItInTheStateFile) {
  DriverRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.state.editors.dpi.SetCurrentLevel(2);
  app.rig.mouse.ClearRequests();
  EXPECT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  EXPECT_EQ(app.Commands(),
            (std::vector<std::uint8_t>{kBegin, kIdentify, kIdentify, kDriverState, kEnd}));
  const auto state = ReadDriverStateRecord(app.folder.path());
  ASSERT_TRUE(state);
  EXPECT_EQ(state->bytes[0] & 0x7F, 2);
  EXPECT_EQ(app.rig.mouse.driver_state(), state->bytes);
  const auto memory = app.rig.driver.memory();
  ASSERT_GE(memory.size(), 0x31u);
  EXPECT_EQ(memory[0x30] & 0x7F, 2);
  EXPECT_EQ(memory[0x31], 0xFF - memory[0x30]);
}

TEST(DriverFlowsTest, ProfileRoundTripRestoresSectionsAndStateButNotMacroRecords) {
  DriverRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.state.editors.dpi.SetCount(5);
  app.state.editors.dpi.SetCurrentLevel(1);
  app.state.editors.fire_key.SetContinuous(true);
  ASSERT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  const auto driver_before = app.rig.driver.memory();
  const auto state_before = app.state.driver_state;

  const auto path = app.folder.path() / "driver-profile.bin";
  app.rig.ui.profile_path = path;
  ASSERT_EQ(app.flows.BtnSaveClick(), FlowOutcome::kDone);
  std::string error;
  const auto saved = ReadFileBytes(path, kDriverFileReadLimit, &error);
  ASSERT_TRUE(saved) << error;
  EXPECT_EQ(saved->size(), kDriverFileSize);

  // Change everything, including a macro record the load must leave alone.
  app.state.editors.dpi.SetCount(2);
  app.state.editors.fire_key.SetContinuous(false);
  app.state.editors.dpi.SetCurrentLevel(0);
  ASSERT_EQ(app.flows.BtnApplyClick(), FlowOutcome::kDone);
  auto memory = app.rig.driver.memory();
  memory.resize(std::max<std::size_t>(memory.size(), 0x200));
  memory[0x150] = 0x99;
  app.rig.driver.set_memory(memory);

  ASSERT_EQ(app.flows.BtnLoadClick(), FlowOutcome::kDone);
  const auto after = app.rig.driver.memory();
  for (const Region region : {regions::kSectionA, regions::kSectionB, regions::kProfile}) {
    EXPECT_TRUE(std::equal(after.begin() + region.offset,
                           after.begin() + region.offset + region.length,
                           driver_before.begin() + region.offset))
        << region.offset;
  }
  EXPECT_TRUE(std::equal(after.begin() + 0xF2, after.begin() + 0xFD, driver_before.begin() + 0xF2));
  EXPECT_EQ(after[0x150], 0x99);
  EXPECT_EQ(app.state.driver_state.bytes, state_before.bytes);
  EXPECT_EQ(app.state.editors.dpi.count(), 5);
  EXPECT_TRUE(app.state.editors.fire_key.continuous());
}

TEST(DriverFlowsTest, ResetWithoutDriverModeFileDoesNothing) {
  DriverRig app;
  app.Start();
  ASSERT_EQ(app.flows.ReadDevInfo(false), FlowOutcome::kDone);
  app.rig.mouse.ClearRequests();
  const std::size_t driver_requests = app.rig.driver.requests().size();
  EXPECT_EQ(app.flows.ResetClick(1), FlowOutcome::kFileMissing);
  EXPECT_TRUE(app.rig.ui.messages.empty());
  EXPECT_TRUE(app.Commands().empty());
  EXPECT_EQ(app.rig.driver.requests().size(), driver_requests);
  EXPECT_FALSE(app.rig.ui.overlays);
}

}  // namespace
}  // namespace zelt
