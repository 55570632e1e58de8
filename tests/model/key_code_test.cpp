#include "model/key_code.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Text(KeyCode code) {
  char buffer[kKeyTextSize];
  std::memset(buffer, 'x', sizeof buffer);
  return FormatKeyCode(code, buffer);
}

TEST(FormatKeyCode, PrefixesAndNames) {
  const struct { KeyCode code; const char* text; } cases[] = {
      {0x0000, "Not Used"},
      {0x001F, "A"},
      {0x0008, "7 &&"},
      {0x0029, "' \""},
      {0x001D, "\\ |"},
      {0x0111, "[ctrl]\nQ"},
      {0x0211, "[shift]\nQ"},
      {0x0311, "[shift] [ctrl]\nQ"},
      {0x0411, "[alt]\nQ"},
      {0x0574, "[alt] [ctrl]\nF5"},
      {0x0611, "[alt] [shift]\nQ"},
      {0x071F, "[alt] [shift]\nA"},   // all three: no ctrl mark
      {0x007E, "Pause"},
      {0x0048, "Win Apl"},
      {0x006C, "Enter (Num)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Text(c.code), c.text) << std::hex << c.code;
  }
}

TEST(FormatKeyCode, UnnamedNumbersDropThePrefix) {
  for (KeyCode code : {0x0100, 0x0600, 0x020E, 0x002A, 0x007F, 0x0080, 0x00FF, 0x07FF, 0x0245}) {
    EXPECT_EQ(Text(code), "Not Used") << std::hex << code;
  }
}

TEST(FormatKeyCode, HighBitsAreIgnored) {
  EXPECT_EQ(Text(0x8011), "Q");
  EXPECT_EQ(Text(0xF911), "[ctrl]\nQ");
}

TEST(FormatKeyCode, LongestTextFitsTheBuffer) {
  const std::string longest = Text(0x037C);
  EXPECT_EQ(longest, "[shift] [ctrl]\nPrint Screen");
  EXPECT_EQ(longest.size(), 27u);
  std::size_t maximum = 0;
  for (KeyCode code = 0; code <= 0x07FF; ++code) maximum = std::max(maximum, Text(code).size());
  EXPECT_EQ(maximum, 27u);
}

TEST(KeyName, ExactlyTheStandardKeysHaveNames) {
  int named = 0;
  for (int number = 0; number < 256; ++number) named += KeyName(number) != nullptr;
  EXPECT_EQ(named, 104);
  for (int unnamed : {0, 14, 42, 45, 56, 59, 63, 65, 69, 73, 74, 77, 78, 82, 87, 88, 94, 107, 109, 111, 127, 255}) {
    EXPECT_EQ(KeyName(unnamed), nullptr) << unnamed;
  }
  EXPECT_EQ(KeyName(-1), nullptr);
  EXPECT_STREQ(KeyName(30), "Caps");
  EXPECT_STREQ(KeyName(125), "Scrl Lock");
}

}  // namespace
