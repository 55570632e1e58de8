#include "model/key_code.h"

#include <cstring>

namespace {

// Names by key number; nullptr where the standard keyboard has no key.
// "&&" shows as one ampersand on a button.
const char* const kKeyNames[128] = {
    /*   0 */ nullptr, "` ~", "1 !", "2 @", "3 #", "4 $", "5 %", "6 ^",
    /*   8 */ "7 &&", "8 *", "9 (", "0 )", "- _", "= +", nullptr, "Backspace",
    /*  16 */ "Tab", "Q", "W", "E", "R", "T", "Y", "U",
    /*  24 */ "I", "O", "P", "[ {", "] }", "\\ |", "Caps", "A",
    /*  32 */ "S", "D", "F", "G", "H", "J", "K", "L",
    /*  40 */ "; :", "' \"", nullptr, "Enter", "Left Shift", nullptr, "Z", "X",
    /*  48 */ "C", "V", "B", "N", "M", ", <", ". >", "/ ?",
    /*  56 */ nullptr, "Right Shift", "Left Ctrl", nullptr, "Left Alt", "Space", "Right Alt", nullptr,
    /*  64 */ "Right Ctrl", nullptr, nullptr, nullptr, nullptr, nullptr, "Left Win", "Right Win",
    /*  72 */ "Win Apl", nullptr, nullptr, "Insert", "Delete", nullptr, nullptr, "Left Arrow",
    /*  80 */ "Home", "End", nullptr, "Up Arrow", "Down Arrow", "Page Up", "Page Down", nullptr,
    /*  88 */ nullptr, "Right Arrow", "Num Lock", "7 (Num)", "4 (Num)", "1 (Num)", nullptr, "/ (Num)",
    /*  96 */ "8 (Num)", "5 (Num)", "2 (Num)", "0 (Num)", "* (Num)", "9 (Num)", "6 (Num)", "3 (Num)",
    /* 104 */ ". (Num)", "- (Num)", "+ (Num)", nullptr, "Enter (Num)", nullptr, "Esc", nullptr,
    /* 112 */ "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8",
    /* 120 */ "F9", "F10", "F11", "F12", "Print Screen", "Scrl Lock", "Pause", nullptr,
};

// Modifier prefix by (Alt, Shift, Ctrl) as bits 2, 1, 0. All three show like
// Alt with Shift: the dialog never builds that combination.
const char* const kPrefixes[8] = {
    "",
    "[ctrl]\n",
    "[shift]\n",
    "[shift] [ctrl]\n",
    "[alt]\n",
    "[alt] [ctrl]\n",
    "[alt] [shift]\n",
    "[alt] [shift]\n",
};

}  // namespace

const char* KeyName(int keyNumber) {
  if (keyNumber < 0 || keyNumber >= static_cast<int>(sizeof kKeyNames / sizeof kKeyNames[0])) {
    return nullptr;
  }
  return kKeyNames[keyNumber];
}

char* FormatKeyCode(KeyCode code, char (&buffer)[kKeyTextSize]) {
  const char* name = KeyName(code & kKeyNumberMask);
  if (name == nullptr) {
    std::memcpy(buffer, kNotUsedText, sizeof kNotUsedText);
    return buffer;
  }
  const char* prefix = kPrefixes[(code & kModifierMask) >> 8];
  const std::size_t prefixLength = std::strlen(prefix);
  const std::size_t nameLength = std::strlen(name);
  // Every prefix plus name fits (longest 27 + terminator), so no truncation path.
  std::memcpy(buffer, prefix, prefixLength);
  std::memcpy(buffer + prefixLength, name, nameLength + 1);
  return buffer;
}
