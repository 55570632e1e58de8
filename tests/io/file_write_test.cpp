// A write that fails at any step keeps the old file and leaves no temporary one.
#include "io/file_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

WriteStep failingStep;
bool FailAtStep(WriteStep step) { return step == failingStep; }

TEST(WriteFileWhole, AFailureAtAnyStepKeepsTheOldFileAndNoTemporary) {
  const fs::path dir = fs::temp_directory_path() / "rq57_write_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string target = (dir / "target.img").string();
  std::ofstream(target) << "old";
  for (WriteStep step : {WriteStep::kCreate, WriteStep::kWrite, WriteStep::kFlush, WriteStep::kReplace}) {
    SCOPED_TRACE(static_cast<int>(step));
    failingStep = step;
    SetWriteFailureSeam(FailAtStep);
    std::string reason;
    EXPECT_FALSE(WriteFileWhole(target, "new", reason));
    SetWriteFailureSeam(nullptr);
    EXPECT_EQ(reason, "failure planted by a test");
    std::ifstream in(target);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  }
  fs::remove_all(dir);
}

}  // namespace
