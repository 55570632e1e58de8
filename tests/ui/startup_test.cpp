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
  EXPECT_STREQ(title, "RQ57 Configuration Utility");

  HMENU bar = GetMenu(window);
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0, MF_BYPOSITION), "&File");
  EXPECT_EQ(MenuText(bar, 1, MF_BYPOSITION), "&Help");

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
  HMENU help = GetSubMenu(bar, 1);
  ASSERT_EQ(GetMenuItemCount(help), 1);
  EXPECT_EQ(GetMenuItemID(help, 0), UINT(IDM_HELP_ABOUT));
  EXPECT_EQ(MenuText(help, 0, MF_BYPOSITION), "&About");
}

TEST(Startup, AcceleratorTableHoldsTheFileShortcuts) {
  HACCEL table = LoadAcceleratorsA(AppInstance(), MAKEINTRESOURCEA(IDA_MAINACCEL));
  ASSERT_NE(table, nullptr);
  ACCEL entries[8] = {};
  ASSERT_EQ(CopyAcceleratorTableA(table, entries, 8), 5);
  const struct { WORD key; WORD id; } expected[] = {
      {'N', IDM_FILE_NEW}, {'S', IDM_FILE_SAVE}, {'W', IDM_FILE_WRITE},
      {'O', IDM_FILE_OPEN}, {'R', IDM_FILE_READ},
  };
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(entries[i].key, expected[i].key) << i;
    EXPECT_EQ(entries[i].cmd, expected[i].id) << i;
    EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL) << i;
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
