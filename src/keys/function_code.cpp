#include "keys/function_code.h"

#include "util/hex.h"

namespace zelt {

std::optional<FunctionCodeBytes> CodeTextToBytes(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  // ParseHexBytes also takes spaces between pairs; six characters giving three bytes rules them
  // out.
  auto bytes = ParseHexBytes(text);
  if (!bytes || bytes->size() != 3) return std::nullopt;
  return FunctionCodeBytes{(*bytes)[0], (*bytes)[1], (*bytes)[2]};
}

std::string HexByteText(std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string CodeBytesToText(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) {
  return HexByteText(type) + HexByteText(p1) + HexByteText(p2);
}

std::string CodeBytesToText(std::span<const std::uint8_t, 3> bytes) {
  return CodeBytesToText(bytes[0], bytes[1], bytes[2]);
}

}  // namespace zelt
