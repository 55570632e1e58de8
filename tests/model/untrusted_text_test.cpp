#include "model/untrusted_text.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(QuoteUntrusted, QuotesControlsAndInvalidUtf8AndKeepsTheRest) {
  const struct {
    std::string text;
    std::string quoted;
  } cases[] = {
      {"panel b.img", "panel b.img"},
      {"ünïcødé—名前 😀", "ünïcødé—名前 😀"},
      {"\x1b[31mRED\x1b[0m\nfake.json: ok", "\\x1b[31mRED\\x1b[0m\\x0afake.json: ok"},
      {"a\0b\t\r\x7f"s, "a\\x00b\\x09\\x0d\\x7f"},
      {"\xc2\x9b" "2J \xc2\x80 \xc2\xa0", "\\u009b2J \\u0080 \xc2\xa0"},  // C1 quoted, NBSP kept
      {"\xff\xfe", "\\xff\\xfe"},
      {"\xed\xa0\x80", "\\xed\\xa0\\x80"},         // a surrogate
      {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80"},  // past U+10FFFF
      {"\xe2\x82" "A", "\\xe2\\x82A"},            // cut short before ASCII
  };
  for (const auto& c : cases) EXPECT_EQ(QuoteUntrusted(c.text), c.quoted) << c.quoted;
}

}  // namespace
