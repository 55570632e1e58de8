// The programs' application manifests as the system reads them: the editor's (this
// test program carries the editor's resources) and rq57cfg.exe's.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr wchar_t kSettings2005[] = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
constexpr wchar_t kSettings2016[] = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
constexpr wchar_t kNotDeclared[] = L"(not declared)";
constexpr DWORD kSettingChars = 64;

// QueryActCtxSettingsW, newer than the headers' Windows version.
using QuerySettingsCall = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*,
                                        SIZE_T, SIZE_T*);

// A setting of an activation context's manifest (null: this process's own).
std::wstring Setting(HANDLE context, const wchar_t* space, const wchar_t* name) {
  static const auto query = reinterpret_cast<QuerySettingsCall>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
  if (query == nullptr) return L"(no query)";
  wchar_t value[kSettingChars] = L"";
  SIZE_T written = 0;
  if (!query(0, context, space, name, value, kSettingChars, &written)) return kNotDeclared;
  return value;
}

// The activation context of rq57cfg.exe's manifest, beside the test folder.
HANDLE Rq57cfgContext() {
  wchar_t self[MAX_PATH] = L"";
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"..\\rq57cfg.exe";
  ACTCTXW context = {};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = path.c_str();
  context.lpResourceName = MAKEINTRESOURCEW(1);
  return CreateActCtxW(&context);
}

TEST(Manifest, DeclaresDpiAwarenessAndLongPaths) {
  HANDLE rq57cfg = Rq57cfgContext();
  ASSERT_NE(rq57cfg, INVALID_HANDLE_VALUE);
  const struct {
    const char* program;
    HANDLE context;
    const wchar_t* space;
    const wchar_t* name;
    const wchar_t* value;
  } cases[] = {
      {"editor", nullptr, kSettings2005, L"dpiAware", L"true/pm"},
      {"editor", nullptr, kSettings2016, L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
      {"editor", nullptr, kSettings2016, L"longPathAware", L"true"},
      {"rq57cfg", rq57cfg, kSettings2016, L"longPathAware", L"true"},
      {"rq57cfg", rq57cfg, kSettings2016, L"dpiAwareness", kNotDeclared},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    EXPECT_EQ(Setting(c.context, c.space, c.name), c.value) << std::string(c.name, c.name + wcslen(c.name));
  }
  ReleaseActCtx(rq57cfg);
}

}  // namespace
