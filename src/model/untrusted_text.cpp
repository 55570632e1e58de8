#include "model/untrusted_text.h"

#include <cstdint>

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr std::uint32_t kFirstC1 = 0x80;
constexpr std::uint32_t kLastC1 = 0x9F;

void AppendHex(std::string& out, const char* prefix, std::uint32_t value, int digits) {
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHexDigits[(value >> shift) & 0xF];
}

// The length of the well-formed UTF-8 sequence of more than one byte at the
// start of text (no overlong forms, surrogates or code points past U+10FFFF),
// with its code point; 0 when there is none.
std::size_t SequenceAt(std::string_view text, std::uint32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;   // range of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || text.size() < length || byte(1) < low || byte(1) > high) return 0;
  codePoint = lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  return length;
}

}  // namespace

std::string QuoteUntrusted(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = 1;
    std::uint32_t codePoint = 0;
    if (lead < kFirstPrintable || lead == kDelete) {
      AppendHex(out, "\\x", lead, 2);
    } else if (lead < kDelete) {
      out += text.front();
    } else if ((length = SequenceAt(text, codePoint)) == 0) {
      length = 1;
      AppendHex(out, "\\x", lead, 2);
    } else if (codePoint >= kFirstC1 && codePoint <= kLastC1) {
      AppendHex(out, "\\u", codePoint, 4);
    } else {
      out.append(text.data(), length);
    }
    text.remove_prefix(length);
  }
  return out;
}
