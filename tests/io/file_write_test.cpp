// A write that fails at any step keeps the old file and leaves no temporary one;
// a target that cannot be written is refused before anything is made.
#include "io/file_write.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#else
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

// Refused targets, checked and written as a user without privileges (root, as
// a shell's redirect, may write a read-only file): natively as root in a child
// that gives them up. A read-only file keeps its content and its mode (on
// Windows: its read-only attribute).
TEST(WriteFileWhole, ATargetThatCannotBeWrittenIsRefusedAndLeftAsItWas) {
  const fs::path dir = FreshFolder("rq57_refuse_test");
  const fs::path readOnly = dir / "ro.img";
  std::ofstream(readOnly) << "old";
  constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(readOnly, kReadOnly);
  fs::permissions(dir, fs::perms::all);
  const auto refused = [&](const fs::path& target) {
    std::string checked, written;
    return !CheckWritableTarget(target.string(), checked) && !WriteFileWhole(target.string(), "new", written) &&
           !checked.empty() && written == checked;
  };
  for (const fs::path& target : {readOnly, dir / "missing" / "new.img", dir}) {
#ifndef _WIN32
    constexpr uid_t kNobody = 65534;
    if (geteuid() == 0) {
      const pid_t child = fork();
      if (child == 0) _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 && refused(target) ? 0 : 1);
      int status = 1;
      EXPECT_TRUE(waitpid(child, &status, 0) == child && status == 0) << target;
      continue;
    }
#endif
    EXPECT_TRUE(refused(target)) << target;
  }
  EXPECT_EQ(Content(readOnly), "old");
  EXPECT_EQ(fs::status(readOnly).permissions(), kReadOnly);
  EXPECT_EQ(FilesIn(dir), 1u);
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
  fs::remove_all(dir);
}

#ifdef _WIN32
// Who owns a file and who may use it, as text: "O:S-1-5-...D:P(A;;FA;;;S-1-5-...)".
std::wstring Security(const fs::path& path, SECURITY_INFORMATION what) {
  PSECURITY_DESCRIPTOR description = nullptr;
  wchar_t* text = nullptr;
  GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, what, nullptr, nullptr, nullptr, nullptr, &description);
  ConvertSecurityDescriptorToStringSecurityDescriptorW(description, SDDL_REVISION_1, what, &text, nullptr);
  const std::wstring result = text != nullptr ? text : L"";
  LocalFree(text);
  LocalFree(description);
  return result;
}

// A file only its owner may use keeps its list when it is replaced (under Wine:
// others stay shut out of a file of mode 0600).
TEST(WriteFileWhole, AReplacedFileKeepsItsAccessList) {
  const fs::path dir = FreshFolder("rq57_access_test");
  const fs::path fresh = dir / "fresh.img", target = dir / "private.img";
  std::ofstream(fresh) << "";
  const std::wstring ownerOnly = L"D:P(A;;FA;;;" + Security(fresh, OWNER_SECURITY_INFORMATION).substr(2) + L")";
  PSECURITY_DESCRIPTOR description = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(ownerOnly.c_str(), SDDL_REVISION_1, &description,
                                                                   nullptr));
  SECURITY_ATTRIBUTES security = {sizeof security, description, FALSE};
  CloseHandle(CreateFileW(target.c_str(), GENERIC_WRITE, 0, &security, CREATE_NEW, 0, nullptr));
  LocalFree(description);
  const std::wstring before = Security(target, DACL_SECURITY_INFORMATION);
  ASSERT_NE(before, Security(fresh, DACL_SECURITY_INFORMATION));
  std::string reason;
  ASSERT_TRUE(WriteFileWhole(target.string(), "new", reason)) << reason;
  EXPECT_EQ(Content(target), "new");
  EXPECT_EQ(Security(target, DACL_SECURITY_INFORMATION), before);
  fs::remove_all(dir);
}

// Two processes write the same output again and again: every write succeeds (a
// move refused while the other looks at the file is tried again) and the file
// is always one whole version. The other writer is this program started again.
constexpr int kWrites = 50;
constexpr std::size_t kVersionSize = 64 * 1024;
constexpr int kReadAttempts = 1000;  // under Wine a file just moved is briefly not to be opened
constexpr char kTargetVariable[] = "RQ57_CONCURRENT_TARGET";
constexpr wchar_t kStarted[] = L"rq57_concurrent_writer_started";
constexpr DWORD kStartMs = 60 * 1000;

TEST(WriteFileWhole, ConcurrentWriterChild) {
  const char* target = std::getenv(kTargetVariable);
  if (target == nullptr) GTEST_SKIP() << "started by ConcurrentWritersLeaveOneWholeFile";
  SetEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, kStarted));
  std::string reason;
  for (int i = 0; i < kWrites; ++i) EXPECT_TRUE(WriteFileWhole(target, std::string(kVersionSize, 'b'), reason)) << reason;
}

TEST(WriteFileWhole, ConcurrentWritersLeaveOneWholeFile) {
  const fs::path dir = FreshFolder("rq57_concurrent_test");
  const fs::path target = dir / "shared.img";
  const std::string mine(kVersionSize, 'a'), theirs(kVersionSize, 'b');
  wchar_t program[MAX_PATH] = L"";
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=WriteFileWhole.ConcurrentWriterChild";
  SetEnvironmentVariableA(kTargetVariable, target.string().c_str());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, kStarted);
  ASSERT_TRUE(CreateProcessW(program, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
  SetEnvironmentVariableA(kTargetVariable, nullptr);
  EXPECT_EQ(WaitForSingleObject(started, kStartMs), WAIT_OBJECT_0);
  int failures = 0, torn = 0;
  for (int i = 0; i < kWrites; ++i) {
    std::string reason;
    failures += WriteFileWhole(target.string(), mine, reason) ? 0 : 1;
    std::string now;
    for (int attempt = 0; attempt < kReadAttempts && now.empty(); ++attempt) now = Content(target);
    torn += now == mine || now == theirs ? 0 : 1;
  }
  DWORD childExit = 1;
  WaitForSingleObject(child.hProcess, kStartMs);
  GetExitCodeProcess(child.hProcess, &childExit);
  CloseHandle(child.hProcess);
  CloseHandle(child.hThread);
  CloseHandle(started);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(childExit, 0u) << "the other writer failed";
  EXPECT_EQ(FilesIn(dir), 1u);
  fs::remove_all(dir);
}
#endif

}  // namespace
