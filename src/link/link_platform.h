// What the encoder link needs of the operating system. The link's logic runs
// against any provider of these operations: the Win32 one in the editor, a
// virtual clock and scripted queue in the tests.
#pragma once

#include <cstdint>

enum class LinkMessageKind { kNone, kKeyDown, kKeyUp, kOther };

// A message taken from the thread's queue, as far as the link tells them apart.
struct LinkMessage {
  LinkMessageKind kind = LinkMessageKind::kNone;
  int key = -1;  // virtual-key code of a key-down or key-up
};

class LinkPlatform {
 public:
  virtual ~LinkPlatform() = default;

  // The desktop's keyboard delay (0-3) and speed (0-31); false when unreadable.
  virtual bool GetKeyboardDelay(int& delay) = 0;
  virtual bool GetKeyboardSpeed(int& speed) = 0;
  // Each setting reaches the keyboard at once, also when it repeats the last one.
  virtual void SetKeyboardDelay(int delay) = 0;
  virtual void SetKeyboardSpeed(int speed) = 0;

  // Millisecond clock; callers take differences with wrap-around.
  virtual std::uint32_t Now() = 0;
  // The most the clock moves at once (16 for a tick clock that steps 15.6 ms, 1
  // for a fine one): a wait that must cover N ms of real time waits N plus this,
  // since both of its readings may lag the real time by up to a step.
  virtual std::uint32_t ClockStepMs() = 0;
  // Plain sleep: no message is handled meanwhile.
  virtual void Pause(std::uint32_t ms) = 0;
  // Called while the queue is empty: returns after at most about 1 ms, and
  // sooner when a message arrives.
  virtual void WaitForMessage() = 0;
  // Removes the oldest queued message; kind kNone when the queue is empty.
  virtual LinkMessage TakeMessage() = 0;
  // Hands the message taken last on to the windows (the progress window's dialog
  // handling while it exists, else translate and dispatch).
  virtual void DispatchTakenMessage() = 0;

  // Replaces the progress window's text.
  virtual void ShowProgress(const char* text) = 0;

  // True once the user asked to stop (Ctrl+C): no further request is sent, the
  // waits for answers end at once and the transfer ends with kTransferStopped,
  // the settings put back. The final wait alone runs on (see WaitOutAnswerTime).
  virtual bool StopRequested() { return false; }
};
