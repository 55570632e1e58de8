// Keystrokes to key numbers: every named key both ways, and the keys that share a
// virtual key or a scan code.
#include "model/keystroke.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "model/key_code.h"
#include "model/keystroke_of_key.h"

namespace {

constexpr int kLastKeyNumber = 255;

int FromScan(int virtualKey, int scanCode, bool extended = false) {
  return KeyNumberFromKeystroke({virtualKey, scanCode, extended});
}

TEST(Keystroke, EveryNamedKeyHasItsOwnKeystrokeAndComesBack) {
  std::map<std::pair<int, bool>, int> owners;
  int named = 0;
  for (int number = 0; number <= kLastKeyNumber; ++number) {
    Keystroke stroke;
    const bool found = KeystrokeOfKeyNumber(number, stroke);
    EXPECT_EQ(found, KeyName(number) != nullptr) << number;
    if (!found) continue;
    ++named;
    EXPECT_NE(stroke.scanCode, 0) << number;
    EXPECT_EQ(KeyNumberFromKeystroke(stroke), number) << number;
    // Typed by a program, without a scan code.
    EXPECT_EQ(KeyNumberFromKeystroke({stroke.virtualKey, 0, stroke.extended}), number) << number;
    const auto owner = owners.emplace(std::make_pair(stroke.scanCode, stroke.extended), number);
    EXPECT_TRUE(owner.second) << number << " shares its scan code with " << owner.first->second;
  }
  EXPECT_EQ(named, 104);
}

TEST(Keystroke, LeftAndRightModifiers) {
  // Sided virtual keys, and the generic ones told apart by scan code or extended flag.
  EXPECT_EQ(FromScan(vk::kLeftShift, 0x2A), kKeyLeftShift);
  EXPECT_EQ(FromScan(vk::kRightShift, 0x36), kKeyRightShift);
  EXPECT_EQ(FromScan(vk::kShift, 0x36), kKeyRightShift);
  EXPECT_EQ(FromScan(vk::kShift, 0), kKeyLeftShift);
  EXPECT_EQ(FromScan(vk::kControl, 0x1D), kKeyLeftCtrl);
  EXPECT_EQ(FromScan(vk::kControl, 0x1D, true), kKeyRightCtrl);
  EXPECT_EQ(FromScan(vk::kControl, 0, true), kKeyRightCtrl);
  EXPECT_EQ(FromScan(vk::kMenu, 0x38), kKeyLeftAlt);
  EXPECT_EQ(FromScan(vk::kMenu, 0x38, true), kKeyRightAlt);
  EXPECT_EQ(FromScan(vk::kRightMenu, 0, true), kKeyRightAlt);
}

TEST(Keystroke, KeypadWithAndWithoutNumLockAndItsEnter) {
  EXPECT_EQ(FromScan(vk::kNumpad0 + 7, 0x47), 91);
  EXPECT_EQ(FromScan(vk::kHome, 0x47), 91);          // Num Lock off
  EXPECT_EQ(FromScan(vk::kHome, 0x47, true), 80);    // the Home key
  EXPECT_EQ(FromScan(vk::kHome, 0), 80);
  EXPECT_EQ(FromScan(vk::kClear, 0x4C), 97);
  EXPECT_EQ(FromScan(vk::kClear, 0), 97);
  EXPECT_EQ(FromScan(vk::kDelete, 0x53), 104);
  EXPECT_EQ(FromScan(vk::kDelete, 0x53, true), 76);
  EXPECT_EQ(FromScan(vk::kReturn, 0x1C), 43);
  EXPECT_EQ(FromScan(vk::kReturn, 0x1C, true), 108);
  EXPECT_EQ(FromScan(vk::kReturn, 0, true), 108);
  EXPECT_EQ(FromScan(vk::kDivide, 0x35, true), 95);
  EXPECT_EQ(FromScan(vk::kOem2, 0x35), 55);
  EXPECT_EQ(FromScan(vk::kMultiply, 0x37), 100);
}

TEST(Keystroke, KeysTheSystemKeepsAndSharedScanCodes) {
  EXPECT_EQ(FromScan(vk::kSnapshot, 0x37, true), 124);
  EXPECT_EQ(FromScan(vk::kSnapshot, 0x54), 124);      // with Alt
  EXPECT_EQ(FromScan(vk::kPause, 0x45), 126);
  EXPECT_EQ(FromScan(vk::kCancel, 0x46, true), 126);  // with Ctrl
  EXPECT_EQ(FromScan(vk::kNumLock, 0x45, true), 90);
  EXPECT_EQ(FromScan(vk::kScroll, 0x46), 125);
  EXPECT_EQ(FromScan(vk::kLeftWin, 0x5B, true), 70);
  EXPECT_EQ(FromScan(vk::kApps, 0x5D, true), 72);
}

TEST(Keystroke, KeysWithoutANumber) {
  EXPECT_EQ(FromScan(0xE2, 0x56), 0);   // the extra key of 102-key keyboards
  EXPECT_EQ(FromScan(0xAD, 0x20, true), 0);  // a media key
  EXPECT_EQ(FromScan(0, 0), 0);
  // A layout that moves letters keeps the position: the scan code decides.
  EXPECT_EQ(FromScan('Z', 0x15), 22);
  Keystroke stroke;
  EXPECT_FALSE(KeystrokeOfKeyNumber(14, stroke));
  EXPECT_FALSE(KeystrokeOfKeyNumber(0, stroke));
}

}  // namespace
