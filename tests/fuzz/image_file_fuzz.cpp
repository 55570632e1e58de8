// Image files of any content and length, read as the programs read them:
// shorter than an image is refused, anything longer reads as its first 512 bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_checks.h"
#include "io/file_read.h"
#include "model/config_file.h"

namespace {

// The file lives in memory and is read through its /proc name, so nothing is
// left behind however a run ends: time limit, Ctrl+C, a crash or a kill.
const int imageFile = memfd_create("rq57_fuzz_image", MFD_CLOEXEC);
const std::string imagePath = "/proc/self/fd/" + std::to_string(imageFile);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Require(ftruncate(imageFile, 0) == 0 && pwrite(imageFile, data, size, 0) == static_cast<ssize_t>(size));
  InputFile input;
  Require(ReadRegularFile(imagePath, kImageSize, input) && input.more == (size > kImageSize));
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
