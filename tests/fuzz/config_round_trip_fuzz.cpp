// Random valid configurations, built from the input bytes: encoding then
// decoding gives the configuration back.
#include <algorithm>
#include <cstdint>

#include "fuzz_checks.h"
#include "model/config.h"

namespace {

// Reads the input as a stream of bytes, zeros once it runs out.
class ByteStream {
 public:
  ByteStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  int Next() { return at_ < size_ ? data_[at_++] : 0; }
  int Below(int n) { return Next() % n; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteStream in(data, size);
  ConfigModel model;
  ResetModel(model);
  model.rows = 1 + in.Below(kMaxLines);
  model.columns = 1 + in.Below(kPinCount - model.rows);
  model.typematic = in.Next() % 2 == 1;
  // Distinct pins for the lines in use: a shuffle of all 24 driven by the input.
  int pins[kPinCount];
  for (int i = 0; i < kPinCount; ++i) pins[i] = i;
  for (int i = kPinCount - 1; i > 0; --i) std::swap(pins[i], pins[in.Below(i + 1)]);
  for (int i = 0; i < model.columns; ++i) model.columnPins[i] = pins[i];
  for (int i = 0; i < model.rows; ++i) model.rowPins[i] = pins[model.columns + i];
  for (int r = 0; r < model.rows; ++r) {
    for (int c = 0; c < model.columns; ++c) {
      model.keys[r * kMatrixStride + c] = static_cast<KeyCode>(in.Next() << 8 | in.Next());
    }
  }

  ConfigImage image{};
  Require(EncodeImage(model, image, nullptr));
  ConfigModel decoded;
  ResetModel(decoded);
  Require(DecodeImage(image, decoded));
  Require(SameConfiguration(model, decoded));
  return 0;
}
