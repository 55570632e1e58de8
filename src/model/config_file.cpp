#include "model/config_file.h"

#include <algorithm>

bool ImageFromFileBytes(std::string_view bytes, ConfigImage& image) {
  image.fill(0);
  if (bytes.size() < image.size()) return false;
  std::copy_n(bytes.begin(), image.size(), image.begin());
  return true;
}

std::string FileBytesOfImage(const ConfigImage& image) { return std::string(image.begin(), image.end()); }
