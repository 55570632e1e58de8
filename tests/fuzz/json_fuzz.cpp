// Feeds arbitrary text to JSON import and to key-text parsing. An accepted
// document must encode, and export then import must give the same image.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/config_json.h"
#include "model/key_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  KeyCode code = -1;
  if (ParseKeyText(text, code)) {
    KeyCode again = -1;
    if (code < 0 || code > 0xFFFF || !ParseKeyText(FormatKeyText(code), again) || again != code) std::abort();
  }

  ConfigModel model;
  std::vector<std::string> errors;
  if (!ImportConfigJson(text, model, errors)) {
    if (errors.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  ConfigImage image{};
  if (!errors.empty() || !EncodeImage(model, image, nullptr)) std::abort();
  ConfigModel second;
  ConfigImage secondImage{};
  if (!ImportConfigJson(ExportConfigJson(model), second, errors) || !EncodeImage(second, secondImage, nullptr) ||
      secondImage != image) {
    std::abort();
  }
  return 0;
}
