// Transfer order shared by reading and writing: position p carries image byte
// (p + 480) mod 512; positions 0-31 are the configuration bytes, then the data.
#pragma once

#include "model/config.h"

constexpr int kConfigBytes = kImageSize - kImagePinArea;  // 32
constexpr int kRowsPosition = kImageRows - kImagePinArea;       // 28
constexpr int kColumnsPosition = kImageColumns - kImagePinArea; // 29

constexpr int ImageIndexAt(int position) { return (position + kImagePinArea) % kImageSize; }

// Configuration progress after position p (0-31), in percent.
constexpr int ConfigProgress(int position) { return (position + 1) * 25 / 8; }
// Data progress after position p (32 and on) of dataBytes (non-zero) data bytes.
constexpr int DataProgress(int position, int dataBytes) {
  return (position - (kConfigBytes - 1)) * 100 / dataBytes;
}
