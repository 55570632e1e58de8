#include "model/key_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(KeyText, Forms) {
  const struct { KeyCode code; const char* text; } cases[] = {
      {0x0000, "-"},
      {0x001F, "A"},
      {0x021F, "Shift+A"},
      {0x0574, "Alt+Ctrl+F5"},
      {0x071F, "Alt+Shift+Ctrl+A"},  // all three shown, unlike the button
      {0x0100, "Ctrl+-"},
      {0x005F, "/ (Num)"},
      {0x005E, "#94"},
      {0x02FF, "Shift+#255"},
      {0x0008, "7 &"},
      {0x000D, "= +"},
      {0x046A, "Alt++ (Num)"},
      {0x801F, "A [0x801F]"},
      {0xF900, "Ctrl+- [0xF900]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatKeyText(c.code), c.text) << std::hex << c.code;
    KeyCode back = -1;
    EXPECT_TRUE(ParseKeyText(c.text, back)) << c.text;
    EXPECT_EQ(back, c.code) << c.text;
  }
  EXPECT_EQ(FormatKeyText(0, kNotUsedKeyText), "Not Used");
  EXPECT_EQ(FormatKeyText(0x0200, kNotUsedKeyText), "Shift+Not Used");
}

TEST(KeyText, EveryCodeReadsBackExactly) {
  for (KeyCode code = 0; code <= 0xFFFF; ++code) {
    for (std::string_view empty : {kEmptyKeyText, kNotUsedKeyText}) {
      const std::string text = FormatKeyText(code, empty);
      KeyCode back = -1;
      ASSERT_TRUE(ParseKeyText(text, back)) << text;
      ASSERT_EQ(back, code) << text;
    }
  }
}

TEST(KeyText, ReadsLooserSpellings) {
  const struct { const char* text; KeyCode code; } cases[] = {
      {"ctrl+shift+a", 0x031F},
      {"  Shift+A\r\n", 0x021F},
      {"not used", 0x0000},
      {"7 &&", 0x0008},
      {"#31", 0x001F},
      {"#007", 0x0007},
      {"a [0x801f]", 0x801F},
  };
  for (const auto& c : cases) {
    KeyCode code = -1;
    EXPECT_TRUE(ParseKeyText(c.text, code)) << c.text;
    EXPECT_EQ(code, c.code) << c.text;
  }
}

TEST(KeyText, RefusesWhatIsNotAKeyAndKeepsTheCode) {
  for (const char* text : {"", "  ", "Foo", "Shift+", "Shift+Shift+A", "Meta+A", "#", "#256", "#-1",
                           "#1x", "A [0x801E]", "A [0x1001F]", "A [0x]", "A]", "A +", "Shift + A"}) {
    KeyCode code = 0x1234;
    EXPECT_FALSE(ParseKeyText(text, code)) << text;
    EXPECT_EQ(code, 0x1234) << text;
  }
}

}  // namespace
