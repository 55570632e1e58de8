#include "model/config_file.h"

#include <algorithm>
#include <cstdio>

#include "model/editor_messages.h"

bool ImageFromFileBytes(std::string_view bytes, ConfigImage& image) {
  image.fill(0);
  if (bytes.size() < image.size()) return false;
  std::copy_n(bytes.begin(), image.size(), image.begin());
  return true;
}

std::string FileBytesOfImage(const ConfigImage& image) { return std::string(image.begin(), image.end()); }

bool DecodeFileBytes(std::string_view bytes, ConfigModel& model) {
  ConfigImage image{};
  // Never hand undefined bytes to the decoder.
  return ImageFromFileBytes(bytes, image) && DecodeImage(image, model);
}

namespace {

ImageFault Encode(const ConfigModel& model, ConfigImage& image, int& sharedPin) {
  return EncodeImage(model, image, &sharedPin) ? ImageFault::kNone : ImageFault::kSharedPin;
}

}  // namespace

ImageFault ImageToWrite(std::string_view bytes, ConfigImage& image, int& sharedPin) {
  ConfigModel model;
  ResetModel(model);
  return DecodeFileBytes(bytes, model) ? Encode(model, image, sharedPin) : ImageFault::kInvalid;
}

ImageFault FileBytesOfReadImage(const ConfigImage& read, std::string& bytes, int& sharedPin) {
  ConfigModel model;
  ResetModel(model);
  if (!DecodeImage(read, model)) return ImageFault::kInvalid;
  ConfigImage image{};
  const ImageFault fault = Encode(model, image, sharedPin);
  if (fault == ImageFault::kNone) bytes = FileBytesOfImage(image);
  return fault;
}

std::string SharedPinMessage(int pin) {
  constexpr int kMessageSize = 64;
  char text[kMessageSize] = "";
  std::snprintf(text, sizeof text, kSharedPinFormat, pin >= 0 && pin < kPinCount ? PinLetter(pin) : '?');
  return text;
}
