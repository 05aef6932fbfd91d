#include "macros/macro_slots.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/mouse_rig.h"
#include "util/checksum.h"

namespace zelt {
namespace {

using test_support::MouseRig;
using ::testing::ElementsAre;

using PagesA = std::array<std::uint8_t, 1024>;
using PagesB = std::array<std::uint8_t, 512>;

// The 256-byte page of slot k (1..6) inside the two page copies.
std::span<std::uint8_t> Page(PagesA& a, PagesB& b, int slot) {
  if (slot <= 4) return std::span(a).subspan(256 * static_cast<std::size_t>(slot - 1), 256);
  return std::span(b).subspan(256 * static_cast<std::size_t>(slot - 5), 256);
}

// Lays a name and a record with `length` (the record's byte 1) into a page. The events are the
// bytes 0x10, 0x11, ...; the checksum is written when `good_checksum` and its place lies in the
// record, else the byte after it is made wrong.
void FillPage(std::span<std::uint8_t> page, const std::string& name, std::uint8_t length,
              bool good_checksum = true) {
  std::fill(page.begin(), page.end(), 0);
  auto field = EncodeMacroName(name);
  ASSERT_TRUE(field.has_value());
  std::copy(field->begin(), field->end(), page.begin());
  auto record = page.subspan(32);
  record[0] = 1;
  record[1] = length;
  for (std::size_t i = 2; i <= length && i < record.size(); ++i) {
    record[i] = static_cast<std::uint8_t>(0x10 + i);
  }
  if (length > 0 && static_cast<std::size_t>(length) + 1 < record.size()) {
    std::uint8_t sum = Checksum(record.subspan(1, length));
    record[length + 1u] = good_checksum ? sum : static_cast<std::uint8_t>(sum + 1);
  }
}

std::vector<std::uint8_t> RecordOf(const MacroSlot& slot) {
  return {slot.record.begin(), slot.record.end()};
}

std::vector<std::uint8_t> RecordIn(std::span<const std::uint8_t> page) {
  return {page.begin() + 32, page.end()};
}

TEST(SlotOfCode, NamesTheSlotWhoseAddressAMacroCodeCarries) {
  struct Case {
    const char* code;
    std::optional<int> slot;
  };
  const Case cases[] = {
      {"060121", 1},
      {"0E0221", 2},
      {"060421", 4},
      {"0E0621", 5},
      {"060721", 6},
      {"060521", std::nullopt},  // fire macro area
      {"0600F0", std::nullopt},  // the fire key
      {"070121", std::nullopt},  // not a macro type
      {"060120", std::nullopt},  // a driver-list address
      {"06012", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(SlotOfCode(c.code), c.slot) << c.code;
}

TEST(ReadAndRefreshMacro, KeepsGoodRecordsAndEmptiesBadOnesOfTheFirstFourSlots) {
  PagesA a{};
  PagesB b{};
  FillPage(Page(a, b, 1), "Ab", 7);
  FillPage(Page(a, b, 2), "Broken", 7, /*good_checksum=*/false);
  FillPage(Page(a, b, 3), "Longest", 222);  // checksum in the record's last byte
  FillPage(Page(a, b, 4), "", 5);
  FillPage(Page(a, b, 5), "Five", 7, /*good_checksum=*/false);
  FillPage(Page(a, b, 6), "Six", 3, /*good_checksum=*/false);
  const PagesA original_a = a;
  const PagesB original_b = b;

  MacroSlots slots;
  slots.ReadAndRefreshMacro(a, b);

  EXPECT_EQ(RecordOf(slots.slot(1)), RecordIn(Page(a, b, 1)));
  EXPECT_EQ(RecordOf(slots.slot(2)), std::vector<std::uint8_t>(224, 0));
  EXPECT_EQ(RecordOf(slots.slot(3)), RecordIn(Page(a, b, 3)));
  EXPECT_EQ(RecordOf(slots.slot(4)), RecordIn(Page(a, b, 4)));
  // Slots 5 and 6 are taken as they are, checksum or not.
  EXPECT_EQ(RecordOf(slots.slot(5)), RecordIn(Page(a, b, 5)));
  EXPECT_EQ(RecordOf(slots.slot(6)), RecordIn(Page(a, b, 6)));
  // The name stays even where the record was dropped; an absent name shows as empty text.
  EXPECT_THAT(slots.slot_names(), ElementsAre("Ab", "Broken", "Longest", "", "Five", "Six"));
  EXPECT_EQ(a, original_a) << "the page copies are only read";
  EXPECT_EQ(b, original_b);
}

TEST(ReadAndRefreshMacro, EmptiesRecordsWhoseLengthLeavesNoRoomForTheChecksum) {
  // Length 0 has no checksum that could hold; from 223 on the checksum would lie past the
  // 224-byte record, up to the 0xFF of erased memory.
  for (int length : {0, 223, 224, 0xFF}) {
    PagesA a{};
    PagesB b{};
    FillPage(Page(a, b, 1), "X", static_cast<std::uint8_t>(length));
    if (length > 0) {
      // Whatever follows the record in the page copy must not be taken for its checksum.
      const auto l = static_cast<std::size_t>(length);
      a[32 + l + 1] = Checksum(std::span(a).subspan(33, l));
    }
    MacroSlots slots;
    slots.ReadAndRefreshMacro(a, b);
    EXPECT_EQ(RecordOf(slots.slot(1)), std::vector<std::uint8_t>(224, 0)) << length;
    EXPECT_EQ(slots.slot_names()[0], "X");
  }
}

TEST(RefreshBaseMacroBuf, WritesEverySlotBackToItsPage) {
  PagesA a{};
  PagesB b{};
  for (int k = 1; k <= 6; ++k) {
    FillPage(Page(a, b, k), "Slot " + std::to_string(k), static_cast<std::uint8_t>(k + 3));
  }
  FillPage(Page(a, b, 2), "Bad", 9, /*good_checksum=*/false);
  MacroSlots slots;
  slots.ReadAndRefreshMacro(a, b);

  PagesA out_a;
  PagesB out_b;
  out_a.fill(0xEE);
  out_b.fill(0xEE);
  slots.RefreshBaseMacroBuf(out_a, out_b);

  PagesA expected_a = a;
  std::fill_n(Page(expected_a, b, 2).begin() + 32, 224, 0);  // the dropped record
  EXPECT_EQ(out_a, expected_a);
  EXPECT_EQ(out_b, b);
}

TEST(MacroSlots, ClearingNamesLeavesTheSlotBytes) {
  PagesA a{};
  PagesB b{};
  FillPage(Page(a, b, 1), "Keep", 4);
  MacroSlots slots;
  slots.ReadAndRefreshMacro(a, b);
  slots.SetMouseSlotName(1, "Keep");
  slots.ClearSlotNames();
  slots.ClearMouseSlotNames();
  EXPECT_THAT(slots.slot_names(), ElementsAre("", "", "", "", "", ""));
  EXPECT_THAT(slots.mouse_slot_names(), ElementsAre("", "", "", "", "", ""));
  EXPECT_EQ(RecordOf(slots.slot(1)), RecordIn(Page(a, b, 1)));
}

// The set-write-address requests the mouse received, as (address, length).
std::vector<std::pair<unsigned, unsigned>> WriteAddresses(const MouseRig& rig) {
  std::vector<std::pair<unsigned, unsigned>> writes;
  for (const auto& request : rig.mouse.requests()) {
    if (request[1] == test_support::Byte(Command::SetWriteAddressCmd)) {
      writes.emplace_back(request[2] | request[3] << 8, request[4] | request[5] << 8);
    }
  }
  return writes;
}

// Six named slots with distinct records, loaded as from an image.
MacroSlots NamedSlots(PagesA& a, PagesB& b) {
  for (int k = 1; k <= 6; ++k) {
    FillPage(Page(a, b, k), "Macro " + std::string(1, static_cast<char>('A' + k - 1)),
             static_cast<std::uint8_t>(10 * k));
  }
  MacroSlots slots;
  slots.ReadAndRefreshMacro(a, b);
  return slots;
}

std::vector<std::string> Codes(std::vector<std::string> some) {
  some.resize(18, "010100");
  return some;
}

TEST(DownloadMacroSlots, WritesNameThenRecordOfEachUsedSlotInSlotOrder) {
  PagesA a{};
  PagesB b{};
  const MacroSlots slots = NamedSlots(a, b);
  MouseRig rig;
  const DataBuf before = rig.mouse.memory();

  // Slot 3 twice (and once with the other stop mode), slot 1, slot 6, the fire key; 2, 4 and 5
  // are used by no button.
  slots.DownloadMacroSlots(rig.link, rig.ui,
                           Codes({"060321", "0E0121", "0600F0", "060721", "0E0321", "060321"}));

  EXPECT_THAT(WriteAddresses(rig), ElementsAre(std::pair(0x100u, 32u), std::pair(0x120u, 224u),
                                               std::pair(0x300u, 32u), std::pair(0x320u, 224u),
                                               std::pair(0x700u, 32u), std::pair(0x720u, 224u)));
  const DataBuf after = rig.mouse.memory();
  for (int k : {1, 3, 6}) {
    const std::size_t page = kMacroSlotAddresses[static_cast<std::size_t>(k - 1)] - 0x21u;
    auto expected = Page(a, b, k);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), after.begin() + page)) << k;
  }
  for (std::size_t page : {0x200u, 0x400u, 0x600u}) {
    EXPECT_TRUE(std::equal(after.begin() + page, after.begin() + page + 256, before.begin() + page))
        << page;
  }
}

TEST(DownloadMacroSlots, SkipsSlotsWhoseMouseNameIsAmongTheSlotNames) {
  struct Case {
    const char* what;
    std::array<const char*, 6> mouse_names;
    std::vector<std::pair<unsigned, unsigned>> writes;
  };
  const std::vector<std::pair<unsigned, unsigned>> all = {
      {0x100, 32}, {0x120, 224}, {0x200, 32}, {0x220, 224}};
  const Case cases[] = {
      {"no mouse names read", {"", "", "", "", "", ""}, all},
      {"own name, other case", {"MACRO a", "", "", "", "", ""}, {{0x200, 32}, {0x220, 224}}},
      // Any of the six slot names counts, not only the slot's own.
      {"another slot's name", {"", "macro f", "", "", "", ""}, {{0x100, 32}, {0x120, 224}}},
      {"a name the slots do not hold", {"Macro Z", "Macro", "", "", "", ""}, all},
      {"both known", {"Macro B", "Macro A", "", "", "", ""}, {}},
  };
  for (const Case& c : cases) {
    PagesA a{};
    PagesB b{};
    MacroSlots slots = NamedSlots(a, b);
    for (int k = 1; k <= 6; ++k) slots.SetMouseSlotName(k, c.mouse_names[k - 1]);
    MouseRig rig;
    slots.DownloadMacroSlots(rig.link, rig.ui, Codes({"060121", "0E0221"}));
    EXPECT_EQ(WriteAddresses(rig), c.writes) << c.what;
  }
}

TEST(DownloadMacroSlots, LeavesSlotsAloneWhileTheyHoldPlaceholders) {
  PagesA a{};
  PagesB b{};
  MacroSlots slots = NamedSlots(a, b);
  slots.ForgetMouseContents();
  MouseRig rig;
  slots.DownloadMacroSlots(rig.link, rig.ui, Codes({"060121", "0E0621"}));
  EXPECT_TRUE(rig.mouse.requests().empty());
  slots.ReadAndRefreshMacro(a, b);  // read from the mouse again: the slots are real once more
  slots.DownloadMacroSlots(rig.link, rig.ui, Codes({"060121"}));
  EXPECT_THAT(WriteAddresses(rig), ElementsAre(std::pair(0x100u, 32u), std::pair(0x120u, 224u)));
}

TEST(DownloadMacroSlots, SendsNothingWhenNoButtonPlaysASlot) {
  PagesA a{};
  PagesB b{};
  const MacroSlots slots = NamedSlots(a, b);
  MouseRig rig;
  slots.DownloadMacroSlots(rig.link, rig.ui, Codes({"0600F0", "060520", "060120", "020004"}));
  EXPECT_TRUE(rig.mouse.requests().empty());
}

TEST(DownloadMacroSlots, AnUnnamedEmptySlotInUseIsStillWritten) {
  // A slot read back without a name has the empty name, which never counts as known.
  MacroSlots slots;
  PagesA a{};
  PagesB b{};
  slots.ReadAndRefreshMacro(a, b);
  DataBuf memory = BuiltinImage(1);
  std::fill_n(memory.begin() + 0x600, 256, 0xAB);
  MouseRig rig({}, memory);
  slots.DownloadMacroSlots(rig.link, rig.ui, Codes({"060621"}));
  EXPECT_THAT(WriteAddresses(rig), ElementsAre(std::pair(0x600u, 32u), std::pair(0x620u, 224u)));
  const DataBuf after = rig.mouse.memory();
  EXPECT_TRUE(std::all_of(after.begin() + 0x600, after.begin() + 0x700,
                          [](std::uint8_t byte) { return byte == 0; }));
}

}  // namespace
}  // namespace zelt
