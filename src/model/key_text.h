// One-line text forms of key codes, for people and scripts: nothing of a code is
// hidden, and every text reads back to exactly the code it came from.
//
//   Shift+A        modifiers first, always in the order Alt, Shift, Ctrl, joined by '+'
//   Alt+Ctrl+F5
//   -              key number 0 (the cell sends nothing); "Ctrl+-" keeps a stray modifier
//   #94            a key number without a name, with its modifiers if any ("Shift+#94")
//   A [0x801F]     bits 11-15 set: the whole code follows in brackets
//
// Names are those of the key buttons, with the button's doubled ampersand shown
// once ("7 &"). Names may hold '+' and blanks ("= +", "+ (Num)").
#pragma once

#include <string>
#include <string_view>

#include "model/key_code.h"

// The modifiers in the fixed order of every text form.
struct KeyModifier {
  KeyCode bit;
  std::string_view word;
};
inline constexpr KeyModifier kKeyModifiers[] = {
    {kModAlt, "Alt"},
    {kModShift, "Shift"},
    {kModCtrl, "Ctrl"},
};

// Text for key number 0 in tables (`rq57cfg show`, diff, checks).
constexpr std::string_view kEmptyKeyText = "-";
// Opens the whole code that follows a key text when bits 11-15 are set.
constexpr std::string_view kWholeCodeOpen = " [0x";
// Text for key number 0 where a word reads better, e.g. the clipboard of a cell.
constexpr std::string_view kNotUsedKeyText = kNotUsedText;

// Name of a key number as text (the button's "&&" as "&"), or empty when it has none.
std::string KeyTextName(int keyNumber);

// The text form of a code; emptyText stands for key number 0.
std::string FormatKeyText(KeyCode code, std::string_view emptyText = kEmptyKeyText);

// Reads a text form back into the exact code; returns false, leaving code alone,
// when the text is not one. Accepts what FormatKeyText writes with either empty
// text, modifiers in any order and letter case, key names in any letter case and
// with "&&", "#N" for any number 0-255, and blanks around the whole text (as a
// pasted line brings them).
bool ParseKeyText(std::string_view text, KeyCode& code);
