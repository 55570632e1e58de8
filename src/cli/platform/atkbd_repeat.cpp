#include "cli/platform/atkbd_repeat.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "link/wire_constants.h"

namespace {

constexpr int kFastestSpeed = kSpeedCount - 1;
// Linux key codes (input-event-codes.h) of the keys the encoder types.
constexpr int kKeyLeftCtrl = 29;
constexpr int kKeyRightCtrl = 97;
constexpr int kKeyLeftShift = 42;
constexpr int kKeyRightShift = 54;
constexpr int kKeyDigitOne = 2;  // 1 to 9, then 0
constexpr int kKeyDigitZero = 11;
// The three letter rows start at these codes.
constexpr struct {
  int firstCode;
  const char* letters;
} kLetterRows[] = {{16, "QWERTYUIOP"}, {30, "ASDFGHJKL"}, {44, "ZXCVBNM"}};
// Other keys: outside every virtual-key code, still a key to the link.
constexpr int kOtherKeyBase = 0x1000;
constexpr int kValueKeyUp = 0;

template <std::size_t N>
int TableIndex(const int (&table)[N], int ms) {
  const int* entry = std::lower_bound(std::begin(table), std::end(table) - 1, ms);
  return static_cast<int>(entry - std::begin(table));
}

template <std::size_t N>
int Request(const int (&table)[N], int index, int storedMs) {
  const int entry = table[std::clamp(index, 0, static_cast<int>(N) - 1)];
  const int rounded = table[TableIndex(table, storedMs)];
  for (int below = 0;; ++below) {
    const int request = entry - below;
    if (request != storedMs && request != rounded) return request;
  }
}

int VirtualKeyOf(int code) {
  if (code == kKeyLeftCtrl || code == kKeyRightCtrl) return kKeyControl;
  if (code == kKeyLeftShift || code == kKeyRightShift) return kKeyShift;
  if (code == kKeyDigitZero) return kFirstDigitKey;
  if (code >= kKeyDigitOne && code < kKeyDigitZero) return kFirstDigitKey + 1 + code - kKeyDigitOne;
  for (const auto& row : kLetterRows) {
    const int at = code - row.firstCode;
    if (at >= 0 && at < static_cast<int>(std::char_traits<char>::length(row.letters))) return row.letters[at];
  }
  return kOtherKeyBase + code;
}

}  // namespace

int AtkbdDelayIndex(int ms) { return TableIndex(kAtkbdDelaysMs, ms); }

int AtkbdPeriodIndex(int ms) { return TableIndex(kAtkbdPeriodsMs, ms); }

int LinkDelayOfMs(int ms) { return AtkbdDelayIndex(ms); }

int LinkSpeedOfPeriodMs(int ms) { return kFastestSpeed - AtkbdPeriodIndex(ms); }

int DelayRequestMs(int delay, int storedMs) { return Request(kAtkbdDelaysMs, delay, storedMs); }

int PeriodRequestMs(int speed, int storedMs) { return Request(kAtkbdPeriodsMs, kFastestSpeed - speed, storedMs); }

LinkMessage LinkMessageOfKeyEvent(int code, int value) {
  return {value == kValueKeyUp ? LinkMessageKind::kKeyUp : LinkMessageKind::kKeyDown, VirtualKeyOf(code)};
}
