// Image files of any content and length, read as the programs read them:
// shorter than an image is refused, anything longer reads as its first 512 bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "fuzz_checks.h"
#include "io/file_read.h"
#include "model/config_file.h"

namespace {

const std::string& TempPath() {
  static const std::string path = [] {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/rq57_fuzz_" + std::to_string(getpid()) + ".img";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(TempPath().c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;

  InputFile input;
  Require(ReadRegularFile(TempPath(), kImageSize, input) && input.more == (size > kImageSize));
  ConfigImage image{};
  const bool taken = ImageFromFileBytes(input.content, image);
  if (size < image.size()) {
    Require(!taken);
    for (std::uint8_t byte : image) Require(byte == 0);
  } else {
    Require(taken);
    Require(std::memcmp(image.data(), data, image.size()) == 0);
  }
  return 0;
}
