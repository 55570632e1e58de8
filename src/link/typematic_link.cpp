#include "link/typematic_link.h"

namespace {

constexpr int kMostQueuedMessages = 64;

int OneBits(int value) {
  int count = 0;
  for (; value != 0; value &= value - 1) ++count;
  return count;
}

std::uint32_t Elapsed(std::uint32_t start, std::uint32_t now) {
  return static_cast<std::uint32_t>(now - start);  // wraps with the clock
}

std::uint32_t Limit(int ms) { return ms > 0 ? static_cast<std::uint32_t>(ms) : 0u; }

// The wait that covers ms of real time on the provider's clock.
int RealTimeWaitMs(LinkPlatform& platform, int ms) { return ms + static_cast<int>(platform.ClockStepMs()); }

enum class OnStop { kEnd, kWaitOn };

struct TakenKeystroke {
  int key = kNoKey;
  bool keyDownSeen = false;
  int pendingKey = kNoKey;
};

// One whole keystroke within ms: its key, or kNoKey for a time-out, a broken
// keystroke or (unless told to wait on) a stop request; also tells whether any
// key-down came.
TakenKeystroke TakeKeystroke(LinkPlatform& platform, int ms, OnStop onStop = OnStop::kEnd) {
  const std::uint32_t limit = Limit(ms);
  TakenKeystroke taken;
  const std::uint32_t start = platform.Now();
  std::uint32_t now = platform.Now();
  // The time-out is tested before every look at the queue.
  while (Elapsed(start, now) < limit && (onStop == OnStop::kWaitOn || !platform.StopRequested())) {
    const LinkMessage message = platform.TakeMessage();
    switch (message.kind) {
      case LinkMessageKind::kNone:
        platform.WaitForMessage();
        break;
      case LinkMessageKind::kKeyDown:
        if (taken.keyDownSeen) return taken;  // a second key-down breaks the keystroke
        taken.keyDownSeen = true;
        taken.pendingKey = message.key;
        break;
      case LinkMessageKind::kKeyUp:
        if (taken.keyDownSeen && message.key == taken.pendingKey) {
          taken.key = taken.pendingKey;
          return taken;
        }
        break;  // a key-up without its key-down counts for nothing
      case LinkMessageKind::kOther:
        platform.DispatchTakenMessage();
        break;
    }
    now = platform.Now();
  }
  return taken;
}

}  // namespace

bool SaveTypematicSettings(LinkPlatform& platform, TypematicSettings& saved) {
  int delay = 0;
  int speed = 0;
  if (!platform.GetKeyboardDelay(delay)) return false;
  if (!platform.GetKeyboardSpeed(speed)) return false;
  saved.delay = delay;
  saved.speed = speed;
  return true;
}

void SetTypematicDelay(LinkPlatform& platform, int delay) { platform.SetKeyboardDelay(delay); }

void SetTypematicSpeed(LinkPlatform& platform, int speed) { platform.SetKeyboardSpeed(speed); }

int WaitKeystroke(LinkPlatform& platform, int timeoutMs) {
  return TakeKeystroke(platform, timeoutMs).key;
}

void PumpFor(LinkPlatform& platform, int ms) {
  const std::uint32_t limit = Limit(ms);
  const std::uint32_t start = platform.Now();
  std::uint32_t now = platform.Now();
  while (Elapsed(start, now) < limit && !platform.StopRequested()) {
    if (platform.TakeMessage().kind == LinkMessageKind::kNone) {
      platform.WaitForMessage();
    } else {
      platform.DispatchTakenMessage();
    }
    now = platform.Now();
  }
}

bool NoKeyWaiting(LinkPlatform& platform) {
  bool keyDown = false;
  // Bounded, so that a stream of posted messages cannot hold the transfer.
  for (int taken = 0; taken < kMostQueuedMessages; ++taken) {
    const LinkMessage message = platform.TakeMessage();
    if (message.kind == LinkMessageKind::kNone) break;
    if (message.kind == LinkMessageKind::kKeyDown) keyDown = true;
    if (message.kind == LinkMessageKind::kOther) platform.DispatchTakenMessage();
  }
  return !keyDown;
}

int Ask(LinkPlatform& platform, LinkSetting setting, int value, int timeoutMs,
        std::uint32_t& askedAt) {
  if (platform.StopRequested() || !NoKeyWaiting(platform)) return kNoKey;
  askedAt = platform.Now();
  if (setting == LinkSetting::kDelay) {
    SetTypematicDelay(platform, value);
  } else {
    SetTypematicSpeed(platform, value);
  }
  return WaitKeystroke(platform, RealTimeWaitMs(platform, timeoutMs));
}

bool WaitOutAnswerTime(LinkPlatform& platform, std::uint32_t askedAt) {
  const std::uint32_t since = Elapsed(askedAt, platform.Now());
  const std::uint32_t limit = Limit(RealTimeWaitMs(platform, kAnswerTimeoutMs));
  const int left = since < limit ? static_cast<int>(limit - since) : 0;
  // A stop does not cut it short: the answer it waits out may still come. A
  // last look at the queue, also when the time had passed already.
  return !TakeKeystroke(platform, left, OnStop::kWaitOn).keyDownSeen && NoKeyWaiting(platform);
}

bool SendStartSignal(LinkPlatform& platform) {
  bool first = true;
  for (int delay : kStartSignal) {
    if (!first) platform.Pause(kSignalPauseMs);
    first = false;
    SetTypematicDelay(platform, delay);
  }
  return WaitKeystroke(platform, RealTimeWaitMs(platform, kAnswerTimeoutMs)) == kKeyControl;
}

void RestoreTypematicSettings(LinkPlatform& platform, const TypematicSettings& saved,
                              bool restoreSpeed) {
  SetTypematicDelay(platform, kDelayEndSignal);
  platform.Pause(kSignalPauseMs);
  if (restoreSpeed) SetTypematicSpeed(platform, saved.speed);
  SetTypematicDelay(platform, saved.delay);
}

int SymbolFromKey(int key) {
  if (key >= kFirstDigitKey && key < kFirstDigitKey + kDigitSymbols) return key - kFirstDigitKey;
  const int letter = key - kFirstLetterKey;
  if (letter >= 0 && letter < kSymbolCount - kDigitSymbols) return kDigitSymbols + letter;
  return kNoSymbol;
}

bool SymbolCheckHolds(int checkSymbol, int nibbleSymbol) {
  const int checkBit = (checkSymbol & kCheckBit) != 0 ? 1 : 0;
  return (checkBit + OneBits(nibbleSymbol & kNibbleMask)) % 2 == 1;
}

bool ByteFromSymbols(int first, int second, std::uint8_t& byte) {
  if (first < 0 || first >= kSymbolCount || second < 0 || second >= kSymbolCount) return false;
  if (!SymbolCheckHolds(first, second) || !SymbolCheckHolds(second, first)) return false;
  byte = static_cast<std::uint8_t>((first & kNibbleMask) * 16 + (second & kNibbleMask));
  return true;
}

int AckKeyForNibble(int nibble) {
  return OneBits(nibble & kNibbleMask) % 2 == 0 ? kKeyControl : kKeyShift;
}
