#include "model/config_file.h"

#include <cstdio>

FileReadResult ReadImageFile(const char* path, ConfigImage& image) {
  image.fill(0);
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return FileReadResult::kCannotOpen;
  const std::size_t got = std::fread(image.data(), 1, image.size(), file);
  std::fclose(file);
  if (got != image.size()) {
    image.fill(0);
    return FileReadResult::kTooShort;
  }
  return FileReadResult::kOk;
}

FileWriteResult WriteImageFile(const char* path, const ConfigImage& image) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return FileWriteResult::kCannotOpen;
  const std::size_t written = std::fwrite(image.data(), 1, image.size(), file);
  // Close in any case; a failed flush on close also means the file is incomplete.
  const bool closed = std::fclose(file) == 0;
  return written == image.size() && closed ? FileWriteResult::kOk : FileWriteResult::kWriteFailed;
}
