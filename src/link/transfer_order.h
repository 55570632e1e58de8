// Transfer order shared by reading and writing: position p carries image byte
// (p + 480) mod 512; positions 0-31 are the configuration bytes, then the data.
#pragma once

#include "link/wire_constants.h"
#include "model/config.h"

constexpr int kRowsPosition = kImageRows - kTransferStart;       // 28
constexpr int kColumnsPosition = kImageColumns - kTransferStart; // 29

constexpr int ImageIndexAt(int position) { return (position + kTransferStart) % kImageSize; }

// Configuration progress after position p (0-31), in percent.
constexpr int ConfigProgress(int position) { return (position + 1) * 25 / 8; }
// Data progress after position p (32 and on) of dataBytes (non-zero) data bytes.
constexpr int DataProgress(int position, int dataBytes) {
  return (position - (kConfigBytes - 1)) * 100 / dataBytes;
}
