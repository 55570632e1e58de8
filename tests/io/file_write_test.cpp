// A write that fails at any step keeps the old file and leaves no temporary one;
// a target that cannot be written is refused before anything is made.
#include "io/file_write.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <memory>
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

#ifdef _WIN32
struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};

// The access list of a file as text ("D:P(A;;FA;;;S-1-5-...)"), empty when unknown.
std::wstring AccessList(const fs::path& path) {
  PSECURITY_DESCRIPTOR description = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                            nullptr, &description) != ERROR_SUCCESS) {
    return {};
  }
  std::unique_ptr<void, LocalFreer> owned(description);
  wchar_t* text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(description, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                            &text, nullptr)) {
    return {};
  }
  std::unique_ptr<void, LocalFreer> ownedText(text);
  return text;
}

// This user's SID as text.
std::wstring UserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  wchar_t* text = nullptr;
  const bool ok = size > 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
                  ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &text);
  CloseHandle(token);
  std::unique_ptr<void, LocalFreer> ownedText(text);
  return ok ? text : L"";
}

// A file only its owner may use keeps its list when it is replaced (under Wine:
// others stay shut out of a file of mode 0600).
TEST(WriteFileWhole, AReplacedFileKeepsItsAccessList) {
  const fs::path dir = FreshFolder("rq57_access_test");
  const fs::path target = dir / "private.img";
  const std::wstring ownerOnly = L"D:P(A;;FA;;;" + UserSid() + L")";
  PSECURITY_DESCRIPTOR description = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(ownerOnly.c_str(), SDDL_REVISION_1, &description,
                                                                   nullptr));
  std::unique_ptr<void, LocalFreer> owned(description);
  SECURITY_ATTRIBUTES security = {sizeof security, description, FALSE};
  const HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, &security, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::wstring before = AccessList(target);
  ASSERT_FALSE(before.empty());
  std::ofstream(dir / "fresh.img") << "";
  if (AccessList(dir / "fresh.img") == before) GTEST_SKIP() << "a new file here gets the same list";
  std::string reason;
  ASSERT_TRUE(WriteFileWhole(target.string(), "new", reason)) << reason;
  EXPECT_EQ(Content(target), "new");
  EXPECT_EQ(AccessList(target), before);
  fs::remove_all(dir);
}

// Two processes write the same output again and again: every write succeeds
// (a move refused while the other looks at the file is tried again) and the
// file is always one whole version.
constexpr int kWrites = 50;
constexpr std::size_t kVersionSize = 64 * 1024;
constexpr DWORD kChildStartMs = 60 * 1000;
constexpr wchar_t kTargetVariable[] = L"RQ57_CONCURRENT_TARGET";
constexpr wchar_t kStartedEvent[] = L"rq57_concurrent_writer_started";

// The file's content as a reader gets it: under Wine a file just moved into
// place cannot be opened until the mover has closed its handle.
std::string ContentWhenFree(const fs::path& path) {
  constexpr int kOpenAttempts = 1000;
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
      Sleep(1);
      continue;
    }
    std::string content(2 * kVersionSize, '\0');
    DWORD got = 0;
    const bool read = file != INVALID_HANDLE_VALUE &&
                      ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &got, nullptr);
    CloseHandle(file);
    content.resize(read ? got : 0);
    return content;
  }
  return {};
}

std::wstring EnvironmentValue(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? value : L"";
}

// The second writer: this program started again by the test below.
TEST(WriteFileWhole, ConcurrentWriterChild) {
  const std::wstring target = EnvironmentValue(kTargetVariable);
  if (target.empty()) GTEST_SKIP() << "started only by ConcurrentWritersLeaveOneWholeFile";
  const HANDLE started = OpenEventW(EVENT_MODIFY_STATE, FALSE, kStartedEvent);
  ASSERT_NE(started, nullptr);
  SetEvent(started);
  CloseHandle(started);
  for (int i = 0; i < kWrites; ++i) {
    std::string reason;
    EXPECT_TRUE(WriteFileWhole(fs::path(target).string(), std::string(kVersionSize, 'b'), reason)) << reason;
  }
}

TEST(WriteFileWhole, ConcurrentWritersLeaveOneWholeFile) {
  const fs::path dir = FreshFolder("rq57_concurrent_test");
  const fs::path target = dir / "shared.img";
  const std::string mine(kVersionSize, 'a');
  const std::string theirs(kVersionSize, 'b');
  const HANDLE started = CreateEventW(nullptr, TRUE, FALSE, kStartedEvent);
  ASSERT_NE(started, nullptr);
  wchar_t program[MAX_PATH] = L"";
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=WriteFileWhole.ConcurrentWriterChild";
  SetEnvironmentVariableW(kTargetVariable, target.c_str());
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  const bool created =
      CreateProcessW(program, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child);
  SetEnvironmentVariableW(kTargetVariable, nullptr);
  ASSERT_TRUE(created);
  EXPECT_EQ(WaitForSingleObject(started, kChildStartMs), WAIT_OBJECT_0);
  int failures = 0;
  int torn = 0;
  for (int i = 0; i < kWrites; ++i) {
    std::string reason;
    if (!WriteFileWhole(target.string(), mine, reason)) ++failures;
    const std::string now = ContentWhenFree(target);
    if (now != mine && now != theirs) ++torn;
  }
  EXPECT_EQ(WaitForSingleObject(child.hProcess, kChildStartMs), WAIT_OBJECT_0);
  DWORD childExit = 1;
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
