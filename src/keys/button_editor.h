#pragma once
// The button editor's image side: the eighteen function-code texts of both key modes, the key
// mode in use, the key-mode memory and switch methods, and the AIM buttons' DPI index.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "config/config_image.h"

namespace zelt {

inline constexpr int kKeyModeCount = 2;

// The caption a code shows (the current language, macro names and gun names applied).
using CaptionOfCode = std::function<std::string(std::string_view code)>;

class ButtonEditor {
 public:
  // Six upper-case hex digits; key modes 1..2, buttons 1..9.
  const std::string& code(int key_mode, int button) const;
  int key_mode() const { return key_mode_; }  // 1 office, 2 gaming
  bool key_mode_kept() const { return key_mode_kept_; }
  // Bits 0..2: middle-button, DPI-button and gun-key long press switch the key mode.
  std::uint8_t switch_methods() const { return switch_methods_; }
  std::uint8_t aim_dpi_index() const { return aim_dpi_index_; }

  // Stores a code as the button's text and its three bytes in the profile copy.
  void SetCode(int key_mode, int button, std::string_view code,
               std::span<std::uint8_t, 55> profile);
  void SetKeyMode(int key_mode);  // 1 or 2; others ignored
  void SetKeyModeKept(bool kept) { key_mode_kept_ = kept; }
  void SetSwitchMethods(std::uint8_t bits) { switch_methods_ = bits & 0x07; }
  void SetAimDpiIndex(std::uint8_t index) { aim_dpi_index_ = index; }

  // Empties all eighteen texts (a reset does so before the new image is adopted).
  void ClearCodes();
  // The eighteen texts from the profile copy: each button's three bytes as six hex digits.
  void ReadCodesFrom(std::span<const std::uint8_t, 55> profile);
  // Key mode from section B 0x34 bit 7, key-mode memory from section A 0x00 bit 3 (0 = kept),
  // switch methods from 0x01 bits 0..2.
  void ReadFrom(const WorkingCopies& copies);
  // The AIM DPI index from the AIM buttons' second byte; the last AIM button of key mode 2 wins
  // over earlier ones. Unchanged when no button is an AIM button.
  void RefreshAimKey(const CaptionOfCode& caption, std::string_view aim_caption);

  // Section B 0x34 (bit 7 for key mode 2) and 0x35 its complement; section A 0x00 bit 3 and 0x01
  // bits 0..2. Nothing else.
  void WriteTo(WorkingCopies& copies) const;
  // Driver-only apply: only section B 0x34 and 0x35.
  void WriteDriverKeyMode(std::span<std::uint8_t, 8> section_b) const;

  // Before the profile is written: every AIM button (caption `aim_caption`) of both key modes
  // gets 0A, the AIM DPI index, 00. In driver-only mode every fire key button (caption
  // `fire_key_caption`) also gets type 0E when fire is continuous, else 06. Texts and profile
  // bytes change together.
  void AIMKeyToDataBuf(std::span<std::uint8_t, 55> profile, const CaptionOfCode& caption,
                       std::string_view aim_caption, std::string_view fire_key_caption,
                       bool driver_only, bool continuous_fire);

 private:
  std::array<std::array<std::string, kButtonCount>, kKeyModeCount> codes_{};
  int key_mode_ = 1;
  bool key_mode_kept_ = true;
  std::uint8_t switch_methods_ = 0;
  std::uint8_t aim_dpi_index_ = 0;
};

// The profile copy offset of a button's code (key mode 1..2, button 1..9).
std::size_t ProfileOffsetOf(int key_mode, int button);

}  // namespace zelt
