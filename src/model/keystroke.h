// Keystrokes as the PC sees them (virtual key, scan code, extended flag) and the
// key numbers of the keys that produce them.
#pragma once

// One key event's identity as the keyboard driver reports it. The scan code is the
// set-1 make code without its E0 prefix; the prefix is the extended flag.
struct Keystroke {
  int virtualKey = 0;
  int scanCode = 0;
  bool extended = false;
};

// Key number (1-126) of the key that sent the keystroke, or 0 when it is none of
// the named keys. The scan code decides, since it is the key's position whatever
// the layout and the Num Lock state; a keystroke without a scan code (typed by a
// program) is recognised by its virtual key.
int KeyNumberFromKeystroke(const Keystroke& stroke);

// The key numbers of the modifier keys.
constexpr int kKeyLeftShift = 44;
constexpr int kKeyRightShift = 57;
constexpr int kKeyLeftCtrl = 58;
constexpr int kKeyLeftAlt = 60;
constexpr int kKeyRightAlt = 62;
constexpr int kKeyRightCtrl = 64;

// Virtual-key codes of the platform that the table speaks of.
namespace vk {
constexpr int kCancel = 0x03;     // Ctrl+Pause
constexpr int kBack = 0x08;
constexpr int kTab = 0x09;
constexpr int kClear = 0x0C;      // keypad 5 with Num Lock off
constexpr int kReturn = 0x0D;
constexpr int kShift = 0x10;
constexpr int kControl = 0x11;
constexpr int kMenu = 0x12;       // Alt
constexpr int kPause = 0x13;
constexpr int kCapital = 0x14;
constexpr int kEscape = 0x1B;
constexpr int kSpace = 0x20;
constexpr int kPrior = 0x21;
constexpr int kNext = 0x22;
constexpr int kEnd = 0x23;
constexpr int kHome = 0x24;
constexpr int kLeft = 0x25;
constexpr int kUp = 0x26;
constexpr int kRight = 0x27;
constexpr int kDown = 0x28;
constexpr int kSnapshot = 0x2C;
constexpr int kInsert = 0x2D;
constexpr int kDelete = 0x2E;
constexpr int kDigit0 = 0x30;
constexpr int kLetterA = 0x41;
constexpr int kLeftWin = 0x5B;
constexpr int kRightWin = 0x5C;
constexpr int kApps = 0x5D;
constexpr int kNumpad0 = 0x60;
constexpr int kMultiply = 0x6A;
constexpr int kAdd = 0x6B;
constexpr int kSubtract = 0x6D;
constexpr int kDecimal = 0x6E;
constexpr int kDivide = 0x6F;
constexpr int kF1 = 0x70;
constexpr int kNumLock = 0x90;
constexpr int kScroll = 0x91;
constexpr int kLeftShift = 0xA0;
constexpr int kRightShift = 0xA1;
constexpr int kLeftControl = 0xA2;
constexpr int kRightControl = 0xA3;
constexpr int kLeftMenu = 0xA4;
constexpr int kRightMenu = 0xA5;
constexpr int kOem1 = 0xBA;       // ; :
constexpr int kOemPlus = 0xBB;    // = +
constexpr int kOemComma = 0xBC;
constexpr int kOemMinus = 0xBD;
constexpr int kOemPeriod = 0xBE;
constexpr int kOem2 = 0xBF;       // / ?
constexpr int kOem3 = 0xC0;       // ` ~
constexpr int kOem4 = 0xDB;       // [ {
constexpr int kOem5 = 0xDC;       // \ |
constexpr int kOem6 = 0xDD;       // ] }
constexpr int kOem7 = 0xDE;       // ' "
}  // namespace vk
