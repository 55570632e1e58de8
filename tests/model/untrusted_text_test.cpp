#include "model/untrusted_text.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(QuoteUntrusted, QuotesControlsAndInvalidUtf8AndKeepsTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"panel b.img ünïcødé—名前 😀 \xc2\xa0", "panel b.img ünïcødé—名前 😀 \xc2\xa0"},  // NBSP kept
      {"\x1b[31m\n\0\t\r\x7f"s, "\\x1b[31m\\x0a\\x00\\x09\\x0d\\x7f"},
      {"\xc2\x9b" "2J \xc2\x80", "\\u009b2J \\u0080"},  // C1 controls
      // Bytes, a surrogate, past U+10FFFF, cut short before ASCII.
      {"\xff\xfe \xed\xa0\x80 \xf4\x90\x80\x80 \xe2\x82" "A", "\\xff\\xfe \\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80 \\xe2\\x82A"},
  };
  for (const auto& [text, quoted] : cases) EXPECT_EQ(QuoteUntrusted(text), quoted) << quoted;
}

}  // namespace
