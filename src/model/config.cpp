#include "model/config.h"

#include <algorithm>

namespace {

// For each pin, the first of the first `count` entries that holds it, or -1.
void FirstEntryOfPin(const int* pins, int count, int (&entryOfPin)[kPinCount]) {
  std::fill(std::begin(entryOfPin), std::end(entryOfPin), -1);
  for (int i = count - 1; i >= 0; --i) {
    if (pins[i] >= 0 && pins[i] < kPinCount) entryOfPin[pins[i]] = i;
  }
}

// Walks the key data in image order: one block per column pin in ascending pin
// order, within it one entry per row pin in ascending order. Each pin is looked up
// once, so with a pin given to two lines only the first of them takes part, while
// entries still step by the full row count.
template <typename Visit>
void ForEachKeyEntry(const ConfigModel& model, Visit visit) {
  int columnOfPin[kPinCount];
  int rowOfPin[kPinCount];
  FirstEntryOfPin(model.columnPins, model.columns, columnOfPin);
  FirstEntryOfPin(model.rowPins, model.rows, rowOfPin);
  int block = 0;
  for (int column : columnOfPin) {
    if (column < 0) continue;
    int entry = 0;
    for (int row : rowOfPin) {
      if (row < 0) continue;
      visit(row * kMatrixStride + column, block * model.rows + entry);
      ++entry;
    }
    ++block;
  }
}

}  // namespace

int OtherCountAfterChange(int changedCount, int otherCount) {
  if (changedCount + otherCount > kPinCount) return kPinCount - changedCount;
  return otherCount;
}

void ResetModel(ConfigModel& model) {
  model.rows = kDefaultCount;
  model.columns = kDefaultCount;
  model.typematic = false;
  for (int i = 0; i < kDefaultCount; ++i) {
    model.columnPins[i] = i;
    model.rowPins[i] = kDefaultCount + i;
  }
  // Spares: the pin a row gives up when the rows drop by one is the one the next
  // column takes, and the other way round.
  for (int i = 0; i < kMaxLines - kDefaultCount; ++i) {
    model.columnPins[kDefaultCount + i] = kPinCount - 1 - i;
    model.rowPins[kDefaultCount + i] = kDefaultCount - 1 - i;
  }
  std::fill(std::begin(model.keys), std::end(model.keys), kKeyNotUsed);
  model.modified = false;
}

bool EncodeImage(const ConfigModel& model, ConfigImage& image, int* sharedPin) {
  image.fill(0);
  image[kImageRows] = static_cast<std::uint8_t>(model.rows);
  image[kImageColumns] = static_cast<std::uint8_t>(model.columns);
  image[kImageFlags] = model.typematic ? kFlagTypematic : 0;
  image[kImageMarker] = kMarkerValue;

  std::uint8_t* pins = image.data() + kImagePinArea;
  for (int i = 0; i < model.columns; ++i) pins[i] = static_cast<std::uint8_t>(model.columnPins[i] + 1);
  for (int i = 0; i < model.rows; ++i) pins[model.columns + i] = static_cast<std::uint8_t>(model.rowPins[i] + 1);

  const int lines = model.rows + model.columns;
  for (int i = 0; i + 1 < lines; ++i) {
    for (int j = i + 1; j < lines; ++j) {
      if (pins[i] == pins[j]) {
        if (sharedPin != nullptr) *sharedPin = pins[i] - 1;
        image.fill(0);
        return false;
      }
    }
  }

  ForEachKeyEntry(model, [&](int cell, int entry) {
    const KeyCode code = model.keys[cell];
    image[2 * entry] = static_cast<std::uint8_t>((code >> 8) & 0xFF);
    image[2 * entry + 1] = static_cast<std::uint8_t>(code & 0xFF);
  });
  return true;
}

bool CountInRange(int count) { return count >= 1 && count <= kMaxLines; }

HeaderCheck CheckImageHeader(const ConfigImage& image) {
  const int rows = image[kImageRows];
  const int columns = image[kImageColumns];
  if (!CountInRange(rows)) return {HeaderFault::kRows, rows};
  if (!CountInRange(columns)) return {HeaderFault::kColumns, columns};
  if (rows + columns > kPinCount) return {HeaderFault::kTooManyLines, rows + columns};
  for (int i = 0; i < rows + columns; ++i) {
    const int pin = image[kImagePinArea + i];
    if (pin < 1 || pin > kPinCount) return {HeaderFault::kPin, pin, i};
  }
  return {};
}

bool ImageHeaderValid(const ConfigImage& image) {
  return CheckImageHeader(image).fault == HeaderFault::kNone;
}

bool DecodeImage(const ConfigImage& image, ConfigModel& model) {
  if (!ImageHeaderValid(image)) return false;
  model.rows = image[kImageRows];
  model.columns = image[kImageColumns];
  model.typematic = (image[kImageFlags] & kFlagTypematic) != 0;
  const std::uint8_t* pins = image.data() + kImagePinArea;
  for (int i = 0; i < model.columns; ++i) model.columnPins[i] = pins[i] - 1;
  for (int i = 0; i < model.rows; ++i) model.rowPins[i] = pins[model.columns + i] - 1;

  ForEachKeyEntry(model, [&](int cell, int entry) {
    model.keys[cell] = image[2 * entry] * 256 + image[2 * entry + 1];
  });
  return true;
}
