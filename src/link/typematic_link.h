// The typematic channel to the encoder: delay and speed settings out, whole
// keystrokes back, with the start and end signals every transfer uses.
#pragma once

#include <cstdint>

#include "link/link_platform.h"
#include "link/wire_constants.h"

// Results of a transfer.
constexpr int kTransferOk = 0;
constexpr int kTransferNotFound = 1;
constexpr int kTransferLinkError = 2;
// Result 3 means one thing for a read and another for a write.
constexpr int kTransferInvalidConfig = 3;  // read: the counts or pins are out of range
constexpr int kTransferTooFewSpeeds = 3;   // write: fewer than 16 speeds tell apart
constexpr int kTransferBadImage = 4;    // write: the image's counts or pins are out of range
constexpr int kTransferStopped = 5;     // stopped on request before it completed

constexpr int kNoKey = -1;
constexpr int kNoSymbol = -1;

struct TypematicSettings {
  std::int32_t delay = 0;
  std::int32_t speed = 0;
};

// Reads the delay, then the speed. False when either cannot be read; then
// nothing may be changed.
bool SaveTypematicSettings(LinkPlatform& platform, TypematicSettings& saved);
void SetTypematicDelay(LinkPlatform& platform, int delay);
void SetTypematicSpeed(LinkPlatform& platform, int speed);

// One whole keystroke (key-down and key-up of the same key) within timeoutMs:
// its key code, or kNoKey for a time-out or a broken keystroke.
int WaitKeystroke(LinkPlatform& platform, int timeoutMs);
// Pauses for ms while every message is handed on to the windows.
void PumpFor(LinkPlatform& platform, int ms);
// Takes what is queued already, without waiting: false when a key-down was
// among it. Before a request nothing of the encoder may be waiting, so a
// key-down then is a stray or an answer the link has fallen behind on.
bool NoKeyWaiting(LinkPlatform& platform);

enum class LinkSetting { kDelay, kSpeed };
// One request: when no stop is requested and no key is waiting (NoKeyWaiting),
// sets the delay or speed and waits for the answer, timeoutMs of real time (plus
// a step of the clock); kNoKey when a key was waiting, for a time-out, a broken
// keystroke or a stop. askedAt is the clock just before the value was set.
int Ask(LinkPlatform& platform, LinkSetting setting, int value, int timeoutMs,
        std::uint32_t& askedAt);
// Keeps taking keystrokes until 500 ms of real time have passed since the
// request made at askedAt (the answer time-out plus a step of the clock): false
// when a key-down arrives meanwhile. The encoder may answer that late, so a
// stray taken for its answer shows only here. A stop request does not end it:
// success comes only after a whole quiet wait. Keystrokes are consumed (a
// key-down's key-up too, when it comes in time); other messages go on to the
// windows. A lone key-up does not count.
bool WaitOutAnswerTime(LinkPlatform& platform, std::uint32_t askedAt);

// Delays 1, 0, 2, 0, 0, 0 with plain pauses, then a wait for Ctrl (500 ms of
// real time).
bool SendStartSignal(LinkPlatform& platform);
// End signal (delay 3), a pause, then the user's speed (when asked) and delay.
void RestoreTypematicSettings(LinkPlatform& platform, const TypematicSettings& saved,
                              bool restoreSpeed);

// Digits carry symbols 0-9, letters A-V 10-31; kNoSymbol for anything else.
int SymbolFromKey(int key);
// Whether bit 4 of checkSymbol and the nibble of nibbleSymbol hold an odd number
// of one-bits together. Test 1 of a byte is (first, second), test 2 (second, first).
bool SymbolCheckHolds(int checkSymbol, int nibbleSymbol);
// Byte of two symbols when both tests hold.
bool ByteFromSymbols(int first, int second, std::uint8_t& byte);
// Ctrl for a nibble with an even number of one-bits, Shift for an odd number.
int AckKeyForNibble(int nibble);
