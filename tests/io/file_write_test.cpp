// A write that fails at any step keeps the old file and leaves no temporary one;
// a target that cannot be written is refused before anything is made.
#include "io/file_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

WriteStep failingStep;
bool FailAtStep(WriteStep step) { return step == failingStep; }

fs::path FreshFolder(const char* name) {
  const fs::path dir = fs::temp_directory_path() / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::string Content(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t FilesIn(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(WriteFileWhole, AFailureAtAnyStepKeepsTheOldFileAndNoTemporary) {
  const fs::path dir = FreshFolder("rq57_write_test");
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
    EXPECT_EQ(Content(target), "old");
    EXPECT_EQ(FilesIn(dir), 1u);
  }
  fs::remove_all(dir);
}

// A file this user may not write: mode 0444 (on Windows the read-only
// attribute), for an unprivileged user (root, as a shell's redirect, may write it).
constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

// Runs the check as a user without privileges: natively as root in a child
// that gives them up.
bool AsUser(const std::function<bool()>& check) {
#ifndef _WIN32
  constexpr uid_t kNobody = 65534;
  if (geteuid() == 0) {
    const pid_t child = fork();
    if (child == 0) _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 && check() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
#endif
  return check();
}

TEST(WriteFileWhole, ATargetThatCannotBeWrittenIsRefusedAndLeftAsItWas) {
  const fs::path dir = FreshFolder("rq57_refuse_test");
  fs::permissions(dir, fs::perms::all);  // the unprivileged child makes its temporary file here
  const fs::path readOnly = dir / "ro.img";
  std::ofstream(readOnly) << "old";
  fs::permissions(readOnly, kReadOnly);
  const struct {
    fs::path target;
    const char* what;
  } cases[] = {
      {readOnly, "a read-only file"},
      {dir / "missing" / "new.img", "a folder that does not exist"},
      {dir, "a folder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string target = c.target.string();
    EXPECT_TRUE(AsUser([&] {
      std::string checked;
      std::string written;
      return !CheckWritableTarget(target, checked) && !checked.empty() &&
             !WriteFileWhole(target, "new", written) && written == checked;
    }));
  }
  EXPECT_EQ(Content(readOnly), "old");
  EXPECT_EQ(fs::status(readOnly).permissions(), kReadOnly);
  EXPECT_EQ(FilesIn(dir), 1u);
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
  fs::remove_all(dir);
}

}  // namespace
