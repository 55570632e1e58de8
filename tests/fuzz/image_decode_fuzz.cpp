// Image decoding in memory: any 512 bytes (shorter inputs zero-padded) either
// decode into a model within its ranges or leave the model untouched; a decoded
// image that encodes again decodes to the same configuration.
#include <cstdint>
#include <cstring>

#include "../model/same_model.h"
#include "fuzz_checks.h"
#include "model/config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static ConfigModel fresh = [] {
    ConfigModel model;
    ResetModel(model);
    return model;
  }();
  ConfigImage image{};
  std::memcpy(image.data(), data, size < image.size() ? size : image.size());

  ConfigModel model = fresh;
  const bool decoded = DecodeImage(image, model);
  Require(decoded == ImageHeaderValid(image));
  if (!decoded) {
    Require(SameModel(model, fresh));
    return 0;
  }
  RequireInvariants(model);

  // Shared pins are refused with the pin named; anything else encodes.
  ConfigImage again{};
  int shared = -1;
  if (!EncodeImage(model, again, &shared)) {
    Require(shared >= 0 && shared < kPinCount);
    for (std::uint8_t byte : again) Require(byte == 0);
    return 0;
  }
  ConfigModel second = fresh;
  Require(DecodeImage(again, second));
  Require(SameConfiguration(model, second));
  return 0;
}
