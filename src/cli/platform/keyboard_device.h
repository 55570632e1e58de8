// The kernel as rq57cfg's Linux provider uses it: the AT keyboard's evdev node.
// A seam, so that the provider's mapping runs in tests without a kernel.
#pragma once

class KeyboardDevice {
 public:
  virtual ~KeyboardDevice() = default;
  // The repeat delay and period the input core holds (EVIOCGREP).
  virtual bool GetRepeat(int& delayMs, int& periodMs) = 0;
  // Sets both (EVIOCSREP); the input core passes on only a value that differs
  // from the one it holds.
  virtual void SetRepeat(int delayMs, int periodMs) = 0;
  // The next queued key event (EV_KEY) without waiting; false when none is.
  virtual bool TakeKeyEvent(int& code, int& value) = 0;
  // Returns when an event is queued, or after at most ms.
  virtual void WaitForEvent(int ms) = 0;
};
