// The named keys of a PC keyboard and the keystrokes they send.
#pragma once

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

// The key numbers of the modifier keys.
constexpr int kKeyLeftShift = 44;
constexpr int kKeyRightShift = 57;
constexpr int kKeyLeftCtrl = 58;
constexpr int kKeyLeftAlt = 60;
constexpr int kKeyRightAlt = 62;
constexpr int kKeyRightCtrl = 64;

struct KeyRow {
  int keyNumber;
  int scanCode;
  bool extended;
  int virtualKey;
};

// The row of a key whose scan code comes with the E0 prefix.
constexpr bool kExtended = true;
// The right Shift key tells itself apart by its scan code alone.
constexpr int kRightShiftScan = 0x36;

// Every named key, the first row of a number being what its key sends. A few keys
// send a second scan code: Print Screen with Alt (SysRq), Pause with Ctrl (Break),
// and keypad 5 with Num Lock off reports no digit.
inline constexpr KeyRow kKeyRows[] = {
    {1, 0x29, false, vk::kOem3},
    {2, 0x02, false, vk::kDigit0 + 1},
    {3, 0x03, false, vk::kDigit0 + 2},
    {4, 0x04, false, vk::kDigit0 + 3},
    {5, 0x05, false, vk::kDigit0 + 4},
    {6, 0x06, false, vk::kDigit0 + 5},
    {7, 0x07, false, vk::kDigit0 + 6},
    {8, 0x08, false, vk::kDigit0 + 7},
    {9, 0x09, false, vk::kDigit0 + 8},
    {10, 0x0A, false, vk::kDigit0 + 9},
    {11, 0x0B, false, vk::kDigit0},
    {12, 0x0C, false, vk::kOemMinus},
    {13, 0x0D, false, vk::kOemPlus},
    {15, 0x0E, false, vk::kBack},
    {16, 0x0F, false, vk::kTab},
    {17, 0x10, false, 'Q'},
    {18, 0x11, false, 'W'},
    {19, 0x12, false, 'E'},
    {20, 0x13, false, 'R'},
    {21, 0x14, false, 'T'},
    {22, 0x15, false, 'Y'},
    {23, 0x16, false, 'U'},
    {24, 0x17, false, 'I'},
    {25, 0x18, false, 'O'},
    {26, 0x19, false, 'P'},
    {27, 0x1A, false, vk::kOem4},
    {28, 0x1B, false, vk::kOem6},
    {29, 0x2B, false, vk::kOem5},
    {30, 0x3A, false, vk::kCapital},
    {31, 0x1E, false, 'A'},
    {32, 0x1F, false, 'S'},
    {33, 0x20, false, 'D'},
    {34, 0x21, false, 'F'},
    {35, 0x22, false, 'G'},
    {36, 0x23, false, 'H'},
    {37, 0x24, false, 'J'},
    {38, 0x25, false, 'K'},
    {39, 0x26, false, 'L'},
    {40, 0x27, false, vk::kOem1},
    {41, 0x28, false, vk::kOem7},
    {43, 0x1C, false, vk::kReturn},
    {kKeyLeftShift, 0x2A, false, vk::kLeftShift},
    {46, 0x2C, false, 'Z'},
    {47, 0x2D, false, 'X'},
    {48, 0x2E, false, 'C'},
    {49, 0x2F, false, 'V'},
    {50, 0x30, false, 'B'},
    {51, 0x31, false, 'N'},
    {52, 0x32, false, 'M'},
    {53, 0x33, false, vk::kOemComma},
    {54, 0x34, false, vk::kOemPeriod},
    {55, 0x35, false, vk::kOem2},
    {kKeyRightShift, kRightShiftScan, false, vk::kRightShift},
    {kKeyLeftCtrl, 0x1D, false, vk::kLeftControl},
    {kKeyLeftAlt, 0x38, false, vk::kLeftMenu},
    {61, 0x39, false, vk::kSpace},
    {kKeyRightAlt, 0x38, kExtended, vk::kRightMenu},
    {kKeyRightCtrl, 0x1D, kExtended, vk::kRightControl},
    {70, 0x5B, kExtended, vk::kLeftWin},
    {71, 0x5C, kExtended, vk::kRightWin},
    {72, 0x5D, kExtended, vk::kApps},
    {75, 0x52, kExtended, vk::kInsert},
    {76, 0x53, kExtended, vk::kDelete},
    {79, 0x4B, kExtended, vk::kLeft},
    {80, 0x47, kExtended, vk::kHome},
    {81, 0x4F, kExtended, vk::kEnd},
    {83, 0x48, kExtended, vk::kUp},
    {84, 0x50, kExtended, vk::kDown},
    {85, 0x49, kExtended, vk::kPrior},
    {86, 0x51, kExtended, vk::kNext},
    {89, 0x4D, kExtended, vk::kRight},
    {90, 0x45, kExtended, vk::kNumLock},
    {91, 0x47, false, vk::kNumpad0 + 7},
    {92, 0x4B, false, vk::kNumpad0 + 4},
    {93, 0x4F, false, vk::kNumpad0 + 1},
    {95, 0x35, kExtended, vk::kDivide},
    {96, 0x48, false, vk::kNumpad0 + 8},
    {97, 0x4C, false, vk::kNumpad0 + 5},
    {97, 0x4C, false, vk::kClear},
    {98, 0x50, false, vk::kNumpad0 + 2},
    {99, 0x52, false, vk::kNumpad0},
    {100, 0x37, false, vk::kMultiply},
    {101, 0x49, false, vk::kNumpad0 + 9},
    {102, 0x4D, false, vk::kNumpad0 + 6},
    {103, 0x51, false, vk::kNumpad0 + 3},
    {104, 0x53, false, vk::kDecimal},
    {105, 0x4A, false, vk::kSubtract},
    {106, 0x4E, false, vk::kAdd},
    {108, 0x1C, kExtended, vk::kReturn},
    {110, 0x01, false, vk::kEscape},
    {112, 0x3B, false, vk::kF1},
    {113, 0x3C, false, vk::kF1 + 1},
    {114, 0x3D, false, vk::kF1 + 2},
    {115, 0x3E, false, vk::kF1 + 3},
    {116, 0x3F, false, vk::kF1 + 4},
    {117, 0x40, false, vk::kF1 + 5},
    {118, 0x41, false, vk::kF1 + 6},
    {119, 0x42, false, vk::kF1 + 7},
    {120, 0x43, false, vk::kF1 + 8},
    {121, 0x44, false, vk::kF1 + 9},
    {122, 0x57, false, vk::kF1 + 10},
    {123, 0x58, false, vk::kF1 + 11},
    {124, 0x37, kExtended, vk::kSnapshot},
    {124, 0x54, false, vk::kSnapshot},
    {125, 0x46, false, vk::kScroll},
    {126, 0x45, false, vk::kPause},
    {126, 0x46, kExtended, vk::kCancel},
};
