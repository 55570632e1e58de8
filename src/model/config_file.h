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

// A configuration file's bytes decoded over model, as Open does: lines and cells
// past the file's counts keep model's values. False when they hold no valid image.
bool DecodeFileBytes(std::string_view bytes, ConfigModel& model);

// Why no image or file came of what was given.
enum class ImageFault { kNone, kInvalid, kSharedPin };
// The image a write sends for a configuration file's bytes: opened over a new
// configuration, then built as Write builds it (kSharedPin with the pin two scan
// lines share in sharedPin).
ImageFault ImageToWrite(std::string_view bytes, ConfigImage& image, int& sharedPin);
// The bytes Save writes after Read took an image read from the encoder into a new
// configuration: what Back Up and rq57cfg's read write.
ImageFault FileBytesOfReadImage(const ConfigImage& read, std::string& bytes, int& sharedPin);
// "Error: Pin X is used for multiple scan lines".
std::string SharedPinMessage(int pin);
