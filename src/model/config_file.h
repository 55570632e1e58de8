// Configuration files: the raw 512-byte image, nothing else. The files
// themselves are read and written by src/io.
#pragma once

#include <string>
#include <string_view>

#include "model/config.h"

// The image held by a file's first bytes; bytes past the first 512 are ignored.
// False, with the image zero-filled, when there are fewer than 512: such a file
// is refused like an invalid image.
bool ImageFromFileBytes(std::string_view bytes, ConfigImage& image);

// The bytes of a configuration file holding the image.
std::string FileBytesOfImage(const ConfigImage& image);
