// The configuration being edited and its 512-byte image.
#pragma once

#include <array>
#include <cstdint>

#include "model/key_code.h"

constexpr int kPinCount = 24;          // scan-line pins A to X
constexpr int kMaxLines = 23;          // most rows, or columns, in use
constexpr int kMatrixStride = 23;      // keys[row * kMatrixStride + column]
constexpr int kCellCount = kMatrixStride * kMatrixStride;
constexpr int kDefaultCount = 12;

struct ConfigModel {
  int rows = kDefaultCount;       // 1..23, rows + columns <= 24
  int columns = kDefaultCount;    // 1..23
  bool typematic = false;
  int columnPins[kMaxLines] = {}; // pin index 0..23; entries past the count are spares
  int rowPins[kMaxLines] = {};
  KeyCode keys[kCellCount] = {};  // cells past the counts keep their values
  bool modified = false;          // changes not yet saved to a file
};

// The image exchanged with files and with the encoder.
constexpr int kImageSize = 512;
using ConfigImage = std::array<std::uint8_t, kImageSize>;

constexpr int kImagePinArea = 480;   // column pins, then row pins, each pin index + 1
constexpr int kImageMarker = 504;
constexpr int kImageFlags = 507;
constexpr int kImageRows = 508;
constexpr int kImageColumns = 509;
constexpr std::uint8_t kMarkerValue = 0x52;
constexpr std::uint8_t kFlagTypematic = 0x40;

// Letter of a pin index as the user sees it.
constexpr char PinLetter(int pin) { return static_cast<char>('A' + pin); }

// The count rule: rows and columns share the 24 pins, so when one count changes
// so that both pass 24 together, the other becomes 24 minus the changed one.
// Returns the other count to keep.
int OtherCountAfterChange(int changedCount, int otherCount);

// Defaults of a new configuration: 12 x 12, columns on A-L, rows on M-X, spare pins
// chosen so that every pair of counts keeps distinct pins; clears the flag.
void ResetModel(ConfigModel& model);

// Builds the image. Fails, with an all-zero image, when two scan lines in use share
// a pin; sharedPin then receives that pin (earliest list position first).
bool EncodeImage(const ConfigModel& model, ConfigImage& image, int* sharedPin);

// Whether a count of rows, or of columns, is one a configuration can have.
bool CountInRange(int count);

// The rules an image must meet (the only ones): the counts in range, at most 24
// lines together, and a pin in range for every line in use. A check names the
// first rule broken, in that order.
enum class HeaderFault { kNone, kRows, kColumns, kTooManyLines, kPin };
struct HeaderCheck {
  HeaderFault fault = HeaderFault::kNone;
  int value = 0;       // the count, the sum of the counts or the pin byte at fault
  int pinEntry = -1;   // kPin: the line's place among the image's pins, columns first
};
HeaderCheck CheckImageHeader(const ConfigImage& image);
bool ImageHeaderValid(const ConfigImage& image);

// Loads a valid image into the model; leaves the model untouched and returns false
// otherwise. Does not change the modified flag.
bool DecodeImage(const ConfigImage& image, ConfigModel& model);
