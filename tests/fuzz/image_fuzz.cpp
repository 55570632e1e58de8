// Feeds arbitrary bytes to image decoding, both directly and through a file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/config.h"
#include "../model/same_model.h"
#include "model/config_file.h"

namespace {

void CheckInvariants(const ConfigModel& m) {
  bool ok = m.rows >= 1 && m.rows <= kMaxLines && m.columns >= 1 && m.columns <= kMaxLines &&
            m.rows + m.columns <= kPinCount;
  for (int i = 0; i < kMaxLines; ++i) {
    ok = ok && m.columnPins[i] >= 0 && m.columnPins[i] < kPinCount;
    ok = ok && m.rowPins[i] >= 0 && m.rowPins[i] < kPinCount;
  }
  for (KeyCode key : m.keys) ok = ok && key >= 0 && key <= 0xFFFF;
  if (!ok) std::abort();
}

const char* TempPath() {
  static char path[64] = "";
  if (path[0] == '\0') std::snprintf(path, sizeof path, "/tmp/rq57_fuzz_%d.bin", static_cast<int>(getpid()));
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ConfigModel model;
  ResetModel(model);
  ConfigModel before = model;

  // Directly: the first 512 bytes (zero-padded) as an image.
  ConfigImage image{};
  std::memcpy(image.data(), data, size < image.size() ? size : image.size());
  if (!DecodeImage(image, model)) {
    if (!SameModel(before, model)) std::abort();  // untouched on failure
  }
  CheckInvariants(model);

  // A decoded image re-encodes unless two lines share a pin; never out of bounds.
  ConfigImage again{};
  int shared = -1;
  if (!EncodeImage(model, again, &shared) && (shared < 0 || shared >= kPinCount)) std::abort();

  // Through a file of exactly the given bytes: short files are refused.
  std::FILE* file = std::fopen(TempPath(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  ConfigImage fromFile{};
  const FileReadResult read = ReadImageFile(TempPath(), fromFile);
  if ((size < image.size()) != (read == FileReadResult::kTooShort)) std::abort();
  if (read == FileReadResult::kOk) {
    ConfigModel second = before;
    if (DecodeImage(fromFile, second) != DecodeImage(image, before)) std::abort();
    CheckInvariants(second);
  }
  return 0;
}
