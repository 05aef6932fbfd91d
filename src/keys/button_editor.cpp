#include "keys/button_editor.h"

#include "keys/function_code.h"
#include "util/checksum.h"

namespace zelt {
namespace {

// Section A byte 0x00 bit 3: set when the mouse always starts in key mode 1.
constexpr std::uint8_t kKeyModeNotKeptBit = 0x08;
// Section A byte 0x01 bits 0..2: the key-mode switch methods.
constexpr std::uint8_t kSwitchMethodBits = 0x07;
// Section B 0x34 and its complement; bit 7 selects key mode 2.
constexpr std::size_t kKeyModeOffset = 4;
constexpr std::size_t kKeyModeComplementOffset = 5;
constexpr std::uint8_t kKeyMode2Bit = 0x80;

constexpr std::uint8_t kFireContinuousType = kCodeTypeMacroWhileHeld;
constexpr std::uint8_t kFireCountedType = kCodeTypeMacroToEnd;

// A caption that names nothing matches nothing: a language without the AIM or fire key text
// must not turn every code without a caption into one.
bool CaptionMatches(const std::string& caption, std::string_view wanted) {
  return !wanted.empty() && caption == wanted;
}

}  // namespace

std::size_t ProfileOffsetOf(int key_mode, int button) {
  return static_cast<std::size_t>(key_mode - 1) * kButtonCount * 3 +
         static_cast<std::size_t>(button - 1) * 3;
}

const std::string& ButtonEditor::code(int key_mode, int button) const {
  return codes_.at(key_mode - 1).at(button - 1);
}

void ButtonEditor::SetCode(int key_mode, int button, std::string_view code,
                           std::span<std::uint8_t, 55> profile) {
  const auto bytes = CodeTextToBytes(code);
  if (!bytes) return;
  std::string& text = codes_.at(key_mode - 1).at(button - 1);
  text = CodeBytesToText(*bytes);
  const std::size_t at = ProfileOffsetOf(key_mode, button);
  for (std::size_t i = 0; i < bytes->size(); ++i) profile[at + i] = (*bytes)[i];
}

void ButtonEditor::SetKeyMode(int key_mode) {
  if (key_mode == 1 || key_mode == 2) key_mode_ = key_mode;
}

void ButtonEditor::ClearCodes() {
  for (auto& mode : codes_) {
    for (auto& text : mode) text.clear();
  }
}

void ButtonEditor::ReadCodesFrom(std::span<const std::uint8_t, 55> profile) {
  for (int mode = 1; mode <= kKeyModeCount; ++mode) {
    for (int button = 1; button <= static_cast<int>(kButtonCount); ++button) {
      codes_[mode - 1][button - 1] =
          CodeBytesToText(profile.subspan(ProfileOffsetOf(mode, button)).first<3>());
    }
  }
}

void ButtonEditor::ReadFrom(const WorkingCopies& copies) {
  key_mode_ = (copies.section_b[kKeyModeOffset] & kKeyMode2Bit) ? 2 : 1;
  key_mode_kept_ = (copies.section_a[0x00] & kKeyModeNotKeptBit) == 0;
  switch_methods_ = copies.section_a[0x01] & kSwitchMethodBits;
}

void ButtonEditor::RefreshAimKey(const CaptionOfCode& caption, std::string_view aim_caption) {
  // Key mode 1 first, then key mode 2, so the last AIM button of key mode 2 wins.
  for (const auto& mode : codes_) {
    for (const auto& text : mode) {
      if (!CaptionMatches(caption(text), aim_caption)) continue;
      if (const auto bytes = CodeTextToBytes(text)) aim_dpi_index_ = (*bytes)[1];
    }
  }
}

void ButtonEditor::WriteDriverKeyMode(std::span<std::uint8_t, 8> section_b) const {
  const std::uint8_t mode = key_mode_ == 2 ? kKeyMode2Bit : 0x00;
  section_b[kKeyModeOffset] = mode;
  section_b[kKeyModeComplementOffset] = Complement(mode);
}

void ButtonEditor::WriteTo(WorkingCopies& copies) const {
  WriteDriverKeyMode(copies.section_b);
  std::uint8_t& byte00 = copies.section_a[0x00];
  byte00 = static_cast<std::uint8_t>(key_mode_kept_ ? (byte00 & ~kKeyModeNotKeptBit)
                                                    : (byte00 | kKeyModeNotKeptBit));
  std::uint8_t& byte01 = copies.section_a[0x01];
  byte01 = static_cast<std::uint8_t>((byte01 & ~kSwitchMethodBits) | switch_methods_);
}

void ButtonEditor::AIMKeyToDataBuf(std::span<std::uint8_t, 55> profile,
                                   const CaptionOfCode& caption, std::string_view aim_caption,
                                   std::string_view fire_key_caption, bool driver_only,
                                   bool continuous_fire) {
  for (int mode = 1; mode <= kKeyModeCount; ++mode) {
    for (int button = 1; button <= static_cast<int>(kButtonCount); ++button) {
      const std::string& text = code(mode, button);
      const std::string shown = caption(text);
      if (CaptionMatches(shown, aim_caption)) {
        SetCode(mode, button, CodeBytesToText(kCodeTypeAim, aim_dpi_index_, 0x00), profile);
      } else if (driver_only && CaptionMatches(shown, fire_key_caption)) {
        const auto bytes = CodeTextToBytes(text);
        if (!bytes) continue;
        const std::uint8_t type = continuous_fire ? kFireContinuousType : kFireCountedType;
        SetCode(mode, button, CodeBytesToText(type, (*bytes)[1], (*bytes)[2]), profile);
      }
    }
  }
}

}  // namespace zelt
