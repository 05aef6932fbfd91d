#include "device/device_memory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/mouse_rig.h"

namespace zelt {
namespace {

using test_support::Byte;
using test_support::MouseRig;
using test_support::ParseFaults;
using ::testing::Each;
using ::testing::ElementsAre;

std::size_t CountCommand(const MouseRig& rig, Command command) {
  auto commands = rig.Commands();
  return static_cast<std::size_t>(std::count(commands.begin(), commands.end(), Byte(command)));
}

TEST(ReadMemory, ReadsTwoCodeBytesWithOneAddressAndOneDataCommand) {
  MouseRig rig(ParseFaults("codes=3:7"));
  std::array<std::uint8_t, 2> codes{};
  ASSERT_TRUE(ReadMemoryQuiet(rig.link, rig.ui, 0x36, 2, codes));
  EXPECT_THAT(codes, ElementsAre(3, 7));
  auto requests = rig.mouse.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0], (Report{4, 4, 0x36, 0x00, 0x02, 0x00, 0, 0}));
  EXPECT_EQ(requests[1], (Report{4, 5, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rig.ui.progress_shown, 0);
}

TEST(ReadMemory, SendsOneDataCommandPerSixBytesAndCopiesOnlyTheTail) {
  struct Case {
    std::uint16_t length;
    std::size_t data_commands;
  };
  for (Case c : {Case{1, 1}, Case{6, 1}, Case{7, 2}, Case{255, 43}, Case{2048, 342}}) {
    DataBuf memory{};
    for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i * 7);
    MouseRig rig({}, memory);
    std::vector<std::uint8_t> destination(c.length + 4, 0x00);
    ASSERT_TRUE(ReadMemory(rig.link, rig.ui, 0, c.length, destination));
    EXPECT_EQ(CountCommand(rig, Command::ReadDataCmd), c.data_commands) << c.length;
    EXPECT_TRUE(std::equal(destination.begin(), destination.begin() + c.length, memory.begin()))
        << c.length;
    // The destination is filled with 0xFF first; bytes past the length stay so.
    EXPECT_THAT(std::vector(destination.end() - 4, destination.end()), Each(0xFF)) << c.length;
    EXPECT_EQ(rig.ui.progress_shown, static_cast<int>(c.data_commands));
  }
}

TEST(ReadMemory, RefusedAddressLeavesAllFFAndSendsNothingMore) {
  MouseRig rig(ParseFaults("error=4:all"));
  std::vector<std::uint8_t> destination(16, 0x11);
  EXPECT_FALSE(ReadMemory(rig.link, rig.ui, 0, 12, destination));
  EXPECT_THAT(destination, Each(0xFF));
  EXPECT_EQ(CountCommand(rig, Command::ReadDataCmd), 0u);
}

TEST(ReadMemory, AnUnreadableChunkReadsAsFFAndTheReadStillSucceeds) {
  MouseRig rig(ParseFaults("error=5:5"));  // the first chunk fails all five attempts
  std::array<std::uint8_t, 12> destination{};
  ASSERT_TRUE(ReadMemoryQuiet(rig.link, rig.ui, 0x30, 12, destination));
  EXPECT_THAT(std::vector(destination.begin(), destination.begin() + 6), Each(0xFF));
  // The mouse did not move on for the failed chunk, so the second chunk is 0x30..0x35.
  EXPECT_THAT(std::vector(destination.begin() + 6, destination.end()),
              ElementsAre(0x01, 0xFE, 0x42, 0xBD, 0x00, 0xFF));
}

TEST(WriteMemory, ShortLastChunkCarriesThePreviousChunksTail) {
  DataBuf source{};
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i);
  MouseRig rig;
  ASSERT_TRUE(WriteMemory(rig.link, rig.ui, 0, 255, source));
  auto requests = rig.mouse.requests();
  ASSERT_EQ(requests.size(), 44u);
  EXPECT_EQ(requests[0], (Report{4, 6, 0x00, 0x00, 0xFF, 0x00, 0, 0}));
  EXPECT_EQ(requests.back(), (Report{4, 7, 252, 253, 254, 249, 250, 251}));
  auto memory = rig.mouse.memory();
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 255, source.begin()));
  EXPECT_EQ(memory[255], BuiltinImage(1)[255]) << "bytes past the length are not written";
}

TEST(WriteMemory, OneByteRepairWriteIsPaddedWithFF) {
  MouseRig rig;
  std::array<std::uint8_t, 1> byte{0x5C};
  ASSERT_TRUE(WriteMemory(rig.link, rig.ui, 0x123, 1, byte));
  EXPECT_THAT(rig.mouse.requests(), ElementsAre(Report{4, 6, 0x23, 0x01, 0x01, 0x00, 0, 0},
                                                Report{4, 7, 0x5C, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(rig.mouse.memory()[0x123], 0x5C);
}

TEST(WriteMemory, RefusesASourceShorterThanTheLengthWithoutSending) {
  MouseRig rig;
  std::array<std::uint8_t, 3> source{};
  EXPECT_FALSE(WriteMemory(rig.link, rig.ui, 0, 4, source));
  EXPECT_TRUE(rig.mouse.requests().empty());
}

DataBuf PatternImage() {
  DataBuf image{};
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i ^ 0xA5);
  return image;
}

TEST(WriteImageVerified, CleanWriteNeedsNoRepair) {
  MouseRig rig;
  const DataBuf image = PatternImage();
  EXPECT_EQ(WriteImageVerified(rig.link, rig.ui, image), VerifiedWriteResult::kVerified);
  EXPECT_EQ(rig.mouse.memory(), image);
  EXPECT_EQ(CountCommand(rig, Command::SetWriteAddressCmd), 1u);
  EXPECT_EQ(CountCommand(rig, Command::SetReadAddressCmd), 1u);
  EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(WriteImageVerified, RepairsBytesThatDidNotStickOneByOne) {
  MouseRig rig(ParseFaults("stuck=0x123:1,stuck=0x7FF:2"));
  const DataBuf image = PatternImage();
  EXPECT_EQ(WriteImageVerified(rig.link, rig.ui, image), VerifiedWriteResult::kVerified);
  EXPECT_EQ(rig.mouse.memory(), image);
  // Pass 1 rewrites 0x123 and 0x7FF, pass 2 only 0x7FF.
  std::vector<Report> address_commands;
  for (const auto& r : rig.mouse.requests()) {
    if (r[1] == Byte(Command::SetWriteAddressCmd)) address_commands.push_back(r);
  }
  EXPECT_THAT(
      address_commands,
      ElementsAre(Report{4, 6, 0, 0, 0x00, 0x08, 0, 0}, Report{4, 6, 0x23, 0x01, 1, 0, 0, 0},
                  Report{4, 6, 0xFF, 0x07, 1, 0, 0, 0}, Report{4, 6, 0xFF, 0x07, 1, 0, 0, 0}));
  EXPECT_EQ(CountCommand(rig, Command::SetReadAddressCmd), 3u);
  EXPECT_TRUE(rig.ui.messages.empty());
}

TEST(WriteImageVerified, ShowsFailAfterThreeRepairPasses) {
  MouseRig rig(ParseFaults("stuck=0x200"));
  DataBuf image = PatternImage();
  EXPECT_EQ(WriteImageVerified(rig.link, rig.ui, image), VerifiedWriteResult::kFailed);
  EXPECT_THAT(rig.ui.messages, ElementsAre("Str109"));
  EXPECT_EQ(CountCommand(rig, Command::SetWriteAddressCmd), 4u);  // image + 3 single bytes
  EXPECT_EQ(CountCommand(rig, Command::SetReadAddressCmd), 4u);
}

TEST(WriteImageVerified, StopsSilentlyWhenAnAddressCommandIsRefused) {
  MouseRig rig(ParseFaults("error=4:all"));
  EXPECT_EQ(WriteImageVerified(rig.link, rig.ui, PatternImage()),
            VerifiedWriteResult::kInterrupted);
  EXPECT_TRUE(rig.ui.messages.empty());
  EXPECT_EQ(CountCommand(rig, Command::SetReadAddressCmd), 5u);  // one refused exchange
}

TEST(Session, OpeningReportsSignatureReadinessAndMemoryType) {
  struct Case {
    const char* faults;
    bool usable;
    bool ready;
    std::uint8_t memory_type;
  };
  for (Case c : {Case{"", true, true, 0x90}, Case{"notready", true, false, 0x90},
                 Case{"memtype=0x75", true, true, 0x99}, Case{"memtype=0", true, true, 0},
                 Case{"error=3:all", false, false, 0}, Case{"error=1:all", false, false, 0}}) {
    MouseRig rig(ParseFaults(c.faults));
    SessionStart start = OpenSession(rig.link);
    EXPECT_EQ(start.usable(), c.usable) << c.faults;
    EXPECT_EQ(start.ready, c.ready) << c.faults;
    EXPECT_EQ(start.memory_type, c.memory_type) << c.faults;
  }
  MouseRig rig;
  OpenSession(rig.link);
  EXPECT_TRUE(CloseSession(rig.link));
  EXPECT_THAT(rig.Commands(), ElementsAre(1, 3, 8, 2));
}

TEST(ButtonsDown, MapsStatusBitsToButtonNumbers) {
  EXPECT_THAT(ButtonsDown(0x0301), ElementsAre(1, 7, 8));
  EXPECT_THAT(ButtonsDown(0x07FF), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9));
  EXPECT_TRUE(ButtonsDown(0xF8C0).empty());
}

}  // namespace
}  // namespace zelt
