#include "keys/function_captions.h"

#include <cstddef>
#include <string>

#include "config/config_image.h"
#include "keys/function_code.h"
#include "keys/key_tables.h"

namespace zelt {
namespace {

// In the order codes are compared with them. Whole codes differ from each other, so only the AIM
// entry's place matters: it comes after "090000" and before "0D0000".
constexpr FixedFunction kFixedFunctions[] = {
    {"Key_Left", 900, "010100", "Str210"},
    {"Key_Right", 901, "010200", "Str211"},
    {"Key_Middle", 902, "010400", "Str212"},
    {"Key_B4", 903, "010800", "Str213"},
    {"Key_B5", 904, "011000", "Str214"},
    {"Key_Fire", 1000, "0600F0", "Str220"},
    {"Key_LEDSwitch", 1001, "090000", "Str221"},
    {"Key_AIMKey", 1002, "0A", "Str222", /*type_only=*/true},
    {"Key_FnFire", 1003, "0D0000", "Str223"},
    {"Key_KeyOff", 1004, "000000", "Str224"},
    {"Key_KeyMode", 1005, "0F0000", "Str225"},
    {"Key_LEDMode", 1006, "100000", "Str226"},
    {"Key_CPI", 2000, "050000", "Str231"},
    {"Key_CPII", 2001, "070000", "Str232"},
    {"Key_CPID", 2002, "080000", "Str233"},
    {"Key_Computer", 1100, "030194", "Str240"},
    {"Key_Calculator", 1101, "030192", "Str241"},
    {"Key_EMail", 1102, "03018A", "Str242"},
    {"Key_Desktop", 1103, "020807", "Str243"},  // Win+D, named as Desktop
    {"Key_PlayPause", 1300, "0300CD", "Str250"},
    {"Key_Stop", 1301, "0300B7", "Str251"},
    {"Key_PreviousTrack", 1302, "0300B6", "Str252"},
    {"Key_NextTrack", 1303, "0300B5", "Str253"},
    {"Key_VolumePlus", 1304, "0300E9", "Str254"},
    {"Key_VolumeMinus", 1305, "0300EA", "Str255"},
    {"Key_Mute", 1306, "0300E2", "Str256"},
    {"Key_WWWHome", 1400, "030223", "Str260"},
    {"Key_WWWSearch", 1401, "030221", "Str261"},
    {"Key_WWWBack", 1402, "030224", "Str262"},
    {"Key_WWWForward", 1403, "030225", "Str263"},
    {"Key_WWWStop", 1404, "030226", "Str264"},
    {"Key_WWWRefresh", 1405, "030227", "Str265"},
    {"Key_WWWFavorites", 1406, "03022A", "Str266"},
};

// Gun key codes named by gun when no gun key library is loaded.
struct GunName {
  std::string_view code;
  std::string_view string_id;
};

constexpr GunName kGunNames[] = {
    {"0C0101", "Str600"}, {"0C0202", "Str601"}, {"0C0303", "Str602"}, {"0C0404", "Str603"},
    {"0C0505", "Str604"}, {"0C0606", "Str605"}, {"0C0607", "Str605"}, {"0C0808", "Str606"},
    {"0C0809", "Str606"}, {"0C080A", "Str606"},
};

// Modifier prefixes of a keyboard code, in caption order.
struct ModifierName {
  std::uint8_t bit;
  std::string_view prefix;
};

constexpr ModifierName kModifierNames[] = {
    {kModifierCtrl, "Ctrl+"},
    {kModifierShift, "Shift+"},
    {kModifierAlt, "Alt+"},
    {kModifierWin, "Win+"},
};

bool Matches(const FixedFunction& entry, std::string_view code) {
  if (entry.type_only) return code.substr(0, entry.code.size()) == entry.code;
  return code == entry.code;
}

std::string KeyboardCaption(std::uint8_t modifiers, std::uint8_t usage) {
  std::string caption;
  for (const ModifierName& modifier : kModifierNames) {
    if ((modifiers & modifier.bit) != 0) caption += modifier.prefix;
  }
  if (usage != 0) caption += UsageToName(usage);
  return caption;
}

std::string MacroCaption(std::uint16_t address, const CaptionContext& context) {
  if (context.macro_names == nullptr) return {};
  if (context.driver_only) {
    // Element b of the driver macro list is addressed as b * 2048 + 0x120.
    constexpr std::uint32_t kFirst = DriverMacroAddress(0);
    if (address < kFirst || (address - kFirst) % 2048 != 0) return {};
    return context.macro_names->DriverMacroName((address - kFirst) / 2048).value_or(std::string());
  }
  for (std::size_t i = 0; i < kMacroSlotAddresses.size(); ++i) {
    if (kMacroSlotAddresses[i] == address) {
      return context.macro_names->MouseSlotName(static_cast<int>(i) + 1);
    }
  }
  return {};
}

std::string GunKeyCaption(std::string_view code, const StringTable& strings,
                          const CaptionContext& context) {
  if (context.fire_macro_codes) {
    // Named by position in the library; when a code is listed twice the later entry names it.
    std::string caption;
    for (std::size_t i = 0; i < context.fire_macro_codes->size(); ++i) {
      if ((*context.fire_macro_codes)[i] == code) caption = "Fire Macro" + std::to_string(i + 1);
    }
    return caption;
  }
  for (const GunName& gun : kGunNames) {
    if (gun.code == code) return strings.Text(gun.string_id);
  }
  return {};
}

}  // namespace

std::span<const FixedFunction> FixedFunctions() { return kFixedFunctions; }

std::string MenuTagToCode(int tag, std::uint8_t aim_dpi_index) {
  for (const FixedFunction& entry : kFixedFunctions) {
    if (entry.tag != tag) continue;
    if (entry.type_only) return std::string(entry.code) + HexByteText(aim_dpi_index) + "00";
    return std::string(entry.code);
  }
  return {};
}

std::string CodeToName(std::string_view code, const StringTable& strings,
                       const CaptionContext& context) {
  for (const FixedFunction& entry : kFixedFunctions) {
    if (Matches(entry, code)) return strings.Text(entry.string_id);
  }
  // Past the fixed codes a code must be three whole bytes; anything else has no caption.
  std::optional<FunctionCodeBytes> bytes = CodeTextToBytes(code);
  if (!bytes) return {};
  auto [type, p1, p2] = *bytes;
  switch (type) {
    case kCodeTypeKeyboard:
      return KeyboardCaption(p1, p2);
    case kCodeTypeMacroToEnd:
    case kCodeTypeMacroWhileHeld:
      return MacroCaption(static_cast<std::uint16_t>(p1 << 8 | p2), context);
    case kCodeTypeGunKey:
      return GunKeyCaption(code, strings, context);
    default:
      return {};
  }
}

}  // namespace zelt
