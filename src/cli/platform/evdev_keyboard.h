// The AT keyboard's evdev node: found through /sys (or named by the user),
// checked that its settings reach the keyboard, and grabbed, so that the
// encoder's keys reach rq57cfg alone.
#pragma once

#include <string>

#include "cli/platform/keyboard_device.h"

enum class KeyboardOpened {
  kOk,
  kNoPs2Keyboard,   // no keyboard on the PS/2 (i8042) port
  kNotPs2Keyboard,  // the node named is not such a keyboard
  kSoftRepeat,      // the driver repeats in software: no setting reaches the keyboard
  kNoPermission,
  kGrabbed,         // another program holds the grab
  kFailed,
};

class EvdevKeyboard : public KeyboardDevice {
 public:
  EvdevKeyboard() = default;
  EvdevKeyboard(const EvdevKeyboard&) = delete;
  EvdevKeyboard& operator=(const EvdevKeyboard&) = delete;
  ~EvdevKeyboard() override { Close(); }

  // node: the one the user named, empty for the system's AT keyboard. Takes the
  // grab, then empties the queue of what came before.
  KeyboardOpened Open(const std::string& node);
  bool IsOpen() const { return fd_ >= 0; }
  // Gives up the grab.
  void Close();
  const std::string& Node() const { return node_; }
  // The system's reason for kFailed.
  const std::string& Reason() const { return reason_; }

  bool GetRepeat(int& delayMs, int& periodMs) override;
  void SetRepeat(int delayMs, int periodMs) override;
  bool TakeKeyEvent(int& code, int& value) override;
  void WaitForEvent(int ms) override;

 private:
  int fd_ = -1;
  std::string node_;
  std::string reason_;
};
