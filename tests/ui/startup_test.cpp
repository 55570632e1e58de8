// The editor's window as start-up creates it: class, title, menu, accelerators.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/main_window.h"
#include "ui/resources/resource.h"
#include "ui/startup.h"

namespace {

std::string MenuText(HMENU menu, UINT item, UINT flag) {
  char text[128] = "";
  GetMenuStringA(menu, item, text, sizeof text, flag);
  return text;
}

TEST(Startup, MainWindowHasClassTitleAndMenu) {
  HWND window = MainWindow();
  ASSERT_NE(window, nullptr);
  char className[64] = "";
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "rq57loadClass");
  char title[64] = "";
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "RQ57 Configuration Utility (simulated RQ57)");  // the tests' link is simulated

  HMENU bar = GetMenu(window);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 4);
  EXPECT_EQ(MenuText(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(MenuText(bar, 1, MF_BYPOSITION), "&Edit");
  EXPECT_EQ(MenuText(bar, 2, MF_BYPOSITION), "&Tools");
  EXPECT_EQ(MenuText(bar, 3, MF_BYPOSITION), "&Help");

  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(file), 9);
  const struct { int position; UINT id; const char* text; } items[] = {
      {0, IDM_FILE_NEW, "&New\tCtrl+N"},      {2, IDM_FILE_OPEN, "&Open\tCtrl+O"},
      {3, IDM_FILE_SAVE, "&Save\tCtrl+S"},    {5, IDM_FILE_READ, "&Read from RQ57\tCtrl+R"},
      {6, IDM_FILE_WRITE, "&Write to RQ57\tCtrl+W"}, {8, IDM_FILE_EXIT, "E&xit"},
  };
  for (const auto& item : items) {
    SCOPED_TRACE(item.text);
    EXPECT_EQ(GetMenuItemID(file, item.position), item.id);
    EXPECT_EQ(MenuText(file, item.position, MF_BYPOSITION), item.text);
  }
  for (int separator : {1, 4, 7}) {
    EXPECT_EQ(GetMenuState(file, separator, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  }
  HMENU edit = GetSubMenu(bar, 1);
  ASSERT_EQ(GetMenuItemCount(edit), 7);
  const struct { int position; UINT id; const char* text; } editItems[] = {
      {0, IDM_EDIT_UNDO, "&Undo\tCtrl+Z"}, {1, IDM_EDIT_REDO, "&Redo\tCtrl+Y"},
      {3, IDM_EDIT_CUT, "Cu&t\tCtrl+X"},   {4, IDM_EDIT_COPY, "&Copy\tCtrl+C"},
      {5, IDM_EDIT_PASTE, "&Paste\tCtrl+V"}, {6, IDM_EDIT_CLEAR, "Cl&ear\tDel"},
  };
  for (const auto& item : editItems) {
    SCOPED_TRACE(item.text);
    EXPECT_EQ(GetMenuItemID(edit, item.position), item.id);
    EXPECT_EQ(MenuText(edit, item.position, MF_BYPOSITION), item.text);
  }
  EXPECT_EQ(GetMenuState(edit, 2, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));

  HMENU tools = GetSubMenu(bar, 2);
  ASSERT_EQ(GetMenuItemCount(tools), 8);
  const struct { int position; UINT id; const char* text; } toolItems[] = {
      {0, IDM_TOOLS_KEY_TESTER, "&Key Tester..."}, {1, IDM_TOOLS_ASSIGN_KEYS, "&Assign Keys by Typing..."},
      {3, IDM_TOOLS_BACKUP, "&Back Up RQ57..."},
      {4, IDM_TOOLS_COMPARE, "&Compare with RQ57"}, {6, IDM_TOOLS_CHECK, "C&heck Configuration"},
      {7, IDM_TOOLS_CHART, "Export &Wiring Chart..."},
  };
  for (const auto& item : toolItems) {
    SCOPED_TRACE(item.text);
    EXPECT_EQ(GetMenuItemID(tools, item.position), item.id);
    EXPECT_EQ(MenuText(tools, item.position, MF_BYPOSITION), item.text);
  }

  HMENU help = GetSubMenu(bar, 3);
  ASSERT_EQ(GetMenuItemCount(help), 1);
  EXPECT_EQ(GetMenuItemID(help, 0), UINT(IDM_HELP_ABOUT));
  EXPECT_EQ(MenuText(help, 0, MF_BYPOSITION), "&About");
}

TEST(Startup, AcceleratorTableHoldsTheFileAndEditShortcuts) {
  HACCEL table = LoadAcceleratorsA(AppInstance(), MAKEINTRESOURCEA(IDA_MAINACCEL));
  ASSERT_NE(table, nullptr);
  ACCEL entries[16] = {};
  const struct { WORD key; WORD id; BYTE modifiers; } expected[] = {
      {'N', IDM_FILE_NEW, FCONTROL},    {'S', IDM_FILE_SAVE, FCONTROL},
      {'W', IDM_FILE_WRITE, FCONTROL},  {'O', IDM_FILE_OPEN, FCONTROL},
      {'R', IDM_FILE_READ, FCONTROL},   {'Z', IDM_EDIT_UNDO, FCONTROL},
      {'Y', IDM_EDIT_REDO, FCONTROL},   {'X', IDM_EDIT_CUT, FCONTROL},
      {'C', IDM_EDIT_COPY, FCONTROL},   {'V', IDM_EDIT_PASTE, FCONTROL},
      {VK_DELETE, IDM_EDIT_CLEAR, 0},
  };
  constexpr int kCount = sizeof expected / sizeof expected[0];
  ASSERT_EQ(CopyAcceleratorTableA(table, entries, 16), kCount);
  for (int i = 0; i < kCount; ++i) {
    EXPECT_EQ(entries[i].key, expected[i].key) << i;
    EXPECT_EQ(entries[i].cmd, expected[i].id) << i;
    EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | expected[i].modifiers) << i;
  }
  DestroyAcceleratorTable(table);
}

TEST(Startup, OnlyTheExactInstallationLabelWarns) {
  EXPECT_TRUE(IsInstallationVolumeLabel("RQ57"));
  EXPECT_FALSE(IsInstallationVolumeLabel("rq57"));
  EXPECT_FALSE(IsInstallationVolumeLabel("RQ57 "));
  EXPECT_FALSE(IsInstallationVolumeLabel(""));
}

}  // namespace

namespace {

std::string VersionString(const void* block, const char* name) {
  char path[96];
  wsprintfA(path, "\\StringFileInfo\\040904B0\\%s", name);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block, path, &value, &length) || value == nullptr) return "";
  return static_cast<const char*>(value);
}

TEST(Startup, VersionResourceDescribesTheProgram) {
  HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDV_VERSION), MAKEINTRESOURCEA(16));
  ASSERT_NE(resource, nullptr);
  const DWORD size = SizeofResource(nullptr, resource);
  const void* data = LockResource(LoadResource(nullptr, resource));
  ASSERT_NE(data, nullptr);
  // VerQueryValue needs a writable copy of the block.
  std::string copy(static_cast<const char*>(data), size);
  copy.resize(size * 2);
  EXPECT_EQ(VersionString(copy.data(), "FileDescription"), "RQ57 Configuration Utility");
  EXPECT_EQ(VersionString(copy.data(), "InternalName"), "RQ57Load");
  EXPECT_EQ(VersionString(copy.data(), "OriginalFilename"), "rq57load.exe");
  EXPECT_EQ(VersionString(copy.data(), "ProductName"), "RQ57");
  EXPECT_EQ(VersionString(copy.data(), "FileVersion"), "2.74");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(copy.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD((2 << 16) | 7));
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD(4 << 16));
  EXPECT_EQ(fixed->dwProductVersionMS, DWORD((2 << 16) | 7));
}

TEST(Startup, IconHasSmallAndLargeImagesInBothDepths) {
  HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_RQ57LOAD), MAKEINTRESOURCEA(14));
  ASSERT_NE(group, nullptr);
  // GRPICONDIR: reserved, type, count, then 14-byte entries (width, height, colours, ...).
  const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
  ASSERT_NE(dir, nullptr);
  const int count = dir[4] | (dir[5] << 8);
  ASSERT_EQ(count, 4);
  int found = 0;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = dir + 6 + 14 * i;
    const int width = entry[0];
    const int bits = entry[6] | (entry[7] << 8);
    found |= (width == 16 ? 1 : width == 32 ? 2 : 0) << (bits == 4 ? 0 : bits == 8 ? 2 : 4);
  }
  EXPECT_EQ(found, 0xF);  // 16/4, 32/4, 16/8, 32/8
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_RQ57LOAD),
                                               IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << size;
    if (icon != nullptr) DestroyIcon(icon);
  }
}

}  // namespace
