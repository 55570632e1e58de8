// What both ends of the typematic channel know: the signals, the keys of the
// answers, the symbol and nibble coding, the time limits and where a transfer
// starts in the image. Constants only; each end computes with them on its own.
#pragma once

#include "model/config.h"

// Delay values. The start signal is the whole sequence, in order.
constexpr int kStartSignal[] = {1, 0, 2, 0, 0, 0};
constexpr int kDelayFirstSymbol = 0;   // read: the next byte's first symbol
constexpr int kDelayWriteSignal = 1;   // right after the start: a write follows
constexpr int kDelaySecondSymbol = 2;  // read: the same byte's second symbol
constexpr int kDelayEndSignal = 3;

// Keys of the encoder's answers (virtual-key codes).
constexpr int kKeyShift = 16;    // odd nibble acknowledged
constexpr int kKeyControl = 17;  // start answered, speed confirmed, even nibble acknowledged
constexpr int kFirstDigitKey = '0';   // symbols 0-9
constexpr int kFirstLetterKey = 'A';  // symbols 10-31, letters A-V
constexpr int kDigitSymbols = 10;
constexpr int kSymbolCount = 32;

// A symbol carries a nibble in bits 0-3 and, in bit 4, the check bit of the
// byte's other nibble: set when that nibble has an even number of one-bits.
constexpr int kNibbleMask = 0x0F;
constexpr int kCheckBit = 0x10;

// Speeds: each is probed, 16 carry the nibble values.
constexpr int kSpeedCount = 32;
constexpr int kNibbleCount = 16;

// Time limits and pauses, in milliseconds.
constexpr int kAnswerTimeoutMs = 500;
constexpr int kConfirmTimeoutMs = 2000;
constexpr int kSignalPauseMs = 150;

// Position 0 of a transfer carries this image byte; positions run on through the
// configuration bytes to the end of the image, then on from byte 0 with the data.
constexpr int kTransferStart = kImagePinArea;
constexpr int kConfigBytes = kImageSize - kTransferStart;  // 32
