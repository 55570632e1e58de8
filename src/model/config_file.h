// Configuration files: the raw 512-byte image, nothing else.
#pragma once

#include "model/config.h"

enum class FileReadResult {
  kOk,
  kCannotOpen,   // the file could not be opened for reading
  kTooShort,     // fewer than 512 bytes: refused like an invalid image
};

// Reads the first 512 bytes of the file at path; bytes beyond them are never read.
// On failure the image is left zero-filled.
FileReadResult ReadImageFile(const char* path, ConfigImage& image);

enum class FileWriteResult {
  kOk,
  kCannotOpen,   // the file could not be created or opened for writing
  kWriteFailed,  // writing or closing failed: the file is not a complete image
};

// Writes exactly the 512 bytes of the image, creating or truncating the file.
FileWriteResult WriteImageFile(const char* path, const ConfigImage& image);
