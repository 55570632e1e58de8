#include "model/config_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class ImageFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/rq57_files_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    for (const std::string& path : created_) std::remove(path.c_str());
    rmdir(dir_.c_str());
  }
  std::string Path(const char* name) {
    created_.push_back(dir_ + "/" + name);
    return created_.back();
  }
  std::string WriteBytes(const char* name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = Path(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
  }
  static long FileSize(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return -1;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
  }

  std::string dir_;
  std::vector<std::string> created_;
};

ConfigImage Pattern() {
  ConfigImage image;
  for (int i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return image;
}

TEST_F(ImageFileTest, WriteThenReadGivesTheSame512Bytes) {
  const std::string path = Path("config.bin");
  const ConfigImage image = Pattern();
  ASSERT_EQ(WriteImageFile(path.c_str(), image), FileWriteResult::kOk);
  EXPECT_EQ(FileSize(path), 512);
  ConfigImage back;
  ASSERT_EQ(ReadImageFile(path.c_str(), back), FileReadResult::kOk);
  EXPECT_EQ(back, image);

  // Writing again truncates a longer file to exactly 512 bytes.
  std::vector<std::uint8_t> longer(2000, 0xEE);
  const std::string big = WriteBytes("big.bin", longer);
  ASSERT_EQ(WriteImageFile(big.c_str(), image), FileWriteResult::kOk);
  EXPECT_EQ(FileSize(big), 512);
}

TEST_F(ImageFileTest, OnlyTheFirst512BytesOfALongerFileAreRead) {
  std::vector<std::uint8_t> bytes(700);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  const std::string path = WriteBytes("long.bin", bytes);
  ConfigImage image;
  ASSERT_EQ(ReadImageFile(path.c_str(), image), FileReadResult::kOk);
  for (int i = 0; i < kImageSize; ++i) ASSERT_EQ(image[i], static_cast<std::uint8_t>(i));
}

TEST_F(ImageFileTest, ShortFilesAreRefusedWithNoUndefinedBytes) {
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{511}}) {
    SCOPED_TRACE(size);
    const std::string path = WriteBytes(("short" + std::to_string(size)).c_str(),
                                        std::vector<std::uint8_t>(size, 0x5A));
    ConfigImage image;
    image.fill(0xCC);
    EXPECT_EQ(ReadImageFile(path.c_str(), image), FileReadResult::kTooShort);
    for (int i = 0; i < kImageSize; ++i) ASSERT_EQ(image[i], 0) << i;
  }
}

TEST_F(ImageFileTest, MissingFileAndDirectoryCannotBeOpened) {
  ConfigImage image;
  EXPECT_EQ(ReadImageFile(Path("missing.bin").c_str(), image), FileReadResult::kCannotOpen);
  EXPECT_EQ(WriteImageFile((dir_ + "/no/such/dir.bin").c_str(), Pattern()), FileWriteResult::kCannotOpen);
}

TEST_F(ImageFileTest, AFailedWriteIsReportedNotCountedAsSaved) {
  // /dev/full opens fine, but every write fails with "no space left".
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  EXPECT_EQ(WriteImageFile("/dev/full", Pattern()), FileWriteResult::kWriteFailed);
}

}  // namespace
