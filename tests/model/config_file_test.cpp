#include "model/config_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ConfigImage Pattern() {
  ConfigImage image;
  for (int i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return image;
}

// A file's first 512 bytes are its image; a shorter file gives none, and no
// undefined bytes either.
TEST(ImageFile, TheFirst512BytesAreTheImageAndShorterFilesNone) {
  const std::string saved = FileBytesOfImage(Pattern());
  ASSERT_EQ(saved.size(), 512u);
  const struct {
    std::string bytes;
    bool taken;
  } cases[] = {{saved, true}, {saved + std::string(188, '\xEE'), true}, {"", false},
               {"Z", false},  {saved.substr(0, 511), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    ConfigImage image;
    image.fill(0xCC);
    EXPECT_EQ(ImageFromFileBytes(c.bytes, image), c.taken);
    EXPECT_EQ(image, c.taken ? Pattern() : ConfigImage{});
  }
}

}  // namespace
