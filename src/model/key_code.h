// Key codes of matrix cells: key number in bits 0-7, modifiers in bits 8-10.
#pragma once

#include <cstddef>

// A cell's assignment. 16 bits are meaningful; bits 11-15 carry no meaning but
// are kept unchanged when an image brings them.
using KeyCode = int;

constexpr KeyCode kKeyNumberMask = 0x00FF;
constexpr KeyCode kModCtrl = 0x0100;
constexpr KeyCode kModShift = 0x0200;
constexpr KeyCode kModAlt = 0x0400;
constexpr KeyCode kModifierMask = kModCtrl | kModShift | kModAlt;
// A key combination: the key number with its modifiers, the bits of a code that
// mean something.
constexpr KeyCode kCombinationMask = kModifierMask | kKeyNumberMask;
constexpr KeyCode kKeyNotUsed = 0;
// What a key button shows for key number 0.
constexpr char kNotUsedText[] = "Not Used";

// Size of the caller's buffer for FormatKeyCode; the longest text is 27 characters.
constexpr std::size_t kKeyTextSize = 32;

// Name of a key number as a key button shows it, or nullptr when the number has none.
const char* KeyName(int keyNumber);

// Writes the button text of a key code (modifier prefix and name, or "Not Used")
// into buffer and returns it.
char* FormatKeyCode(KeyCode code, char (&buffer)[kKeyTextSize]);
