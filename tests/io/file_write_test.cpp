// A write that fails at any step, or to a target that cannot be written, keeps the
// old file and leaves no temporary one.
#include "io/file_write.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#include <sddl.h>
#include <aclapi.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

WriteStep failingStep;
bool FailAtStep(WriteStep step) { return step == failingStep; }

std::string Content(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

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
  // Refused with the check's reason, as a user without privileges (root, as a
  // shell's redirect, may write a read-only file).
  const fs::path readOnly = dir / "ro.img";
  std::ofstream(readOnly) << "old";
  constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(readOnly, kReadOnly);  // on Windows: the read-only attribute
  fs::permissions(dir, fs::perms::all);
#ifndef _WIN32
  constexpr uid_t kNobody = 65534;
  const uid_t user = geteuid();
  ASSERT_EQ(seteuid(user == 0 ? kNobody : user), 0);
#endif
  for (const fs::path& refused : {readOnly, dir / "missing" / "new.img", dir}) {
    std::string checked, written;
    EXPECT_TRUE(!CheckWritableTarget(refused.string(), checked) && !WriteFileWhole(refused.string(), "new", written) &&
                !checked.empty() && written == checked) << refused << ": " << written;
  }
#ifndef _WIN32
  ASSERT_EQ(seteuid(user), 0);
#endif
  EXPECT_EQ(Content(readOnly), "old");
  EXPECT_EQ(fs::status(readOnly).permissions(), kReadOnly);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);
  fs::remove_all(dir);
}

#ifdef _WIN32
// Who owns a file or who may use it, as text: "O:S-1-5-..." or "D:P(A;;FA;;;S-1-5-...)".
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

// Two processes write the same output 50 times each, the other one this program
// started again, to a file only its owner may use: every write succeeds (a move
// refused while the other looks at the file is tried again), the file is always
// one whole version, and it keeps its access list (under Wine: others stay shut
// out of a file of mode 0600).
TEST(WriteFileWhole, TwoWritersLeaveOneWholeFileWithItsAccessList) {
  constexpr int kWrites = 50;
  constexpr int kReadAttempts = 1000;  // under Wine a file just moved is briefly not to be opened
  constexpr DWORD kOtherMs = 60 * 1000;
  constexpr char kOtherTarget[] = "RQ57_OTHER_WRITER_TARGET";
  const std::string mine(64 * 1024, 'a'), theirs(mine.size(), 'b');
  std::string reason;
  if (const char* target = std::getenv(kOtherTarget)) {
    for (int i = 0; i < kWrites; ++i) ASSERT_TRUE(WriteFileWhole(target, theirs, reason)) << reason;
    return;
  }
  const fs::path dir = fs::temp_directory_path() / "rq57_two_writers", target = dir / "private.img";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::wstring ownerOnly = L"D:P(A;;FA;;;" + Security(dir, OWNER_SECURITY_INFORMATION).substr(2) + L")";
  SECURITY_ATTRIBUTES security = {sizeof security, nullptr, FALSE};
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(ownerOnly.c_str(), SDDL_REVISION_1,
                                                                   &security.lpSecurityDescriptor, nullptr));
  CloseHandle(CreateFileW(target.c_str(), GENERIC_WRITE, 0, &security, CREATE_NEW, 0, nullptr));
  LocalFree(security.lpSecurityDescriptor);
  const std::wstring before = Security(target, DACL_SECURITY_INFORMATION);

  wchar_t program[MAX_PATH] = L"";
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  _putenv_s(kOtherTarget, target.string().c_str());
  const std::wstring quoted = L"\"" + std::wstring(program) + L"\"";
  const auto other = reinterpret_cast<HANDLE>(
      _wspawnl(_P_NOWAIT, program, quoted.c_str(), L"--gtest_filter=*.TwoWriters*", nullptr));
  _putenv_s(kOtherTarget, "");
  // Once the other has written, both write.
  for (const DWORD start = GetTickCount(); Content(target) != theirs && GetTickCount() - start < kOtherMs;) Sleep(1);
  for (int i = 0; i < kWrites; ++i) {
    EXPECT_TRUE(WriteFileWhole(target.string(), mine, reason)) << reason;
    std::string now;
    for (int attempt = 0; attempt < kReadAttempts && now.empty(); ++attempt) now = Content(target);
    EXPECT_TRUE(now == mine || now == theirs) << "a torn file of " << now.size() << " bytes";
  }
  DWORD otherExit = 1;
  WaitForSingleObject(other, kOtherMs);
  GetExitCodeProcess(other, &otherExit);
  CloseHandle(other);
  EXPECT_EQ(otherExit, 0u) << "the other writer failed";
  EXPECT_EQ(Security(target, DACL_SECURITY_INFORMATION), before);
  fs::remove_all(dir);
}
#endif

}  // namespace
