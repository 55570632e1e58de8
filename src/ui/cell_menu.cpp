#include "ui/cell_menu.h"

#include <windowsx.h>

#include "ui/app_core.h"
#include "ui/edit_commands.h"
#include "ui/resources/resource.h"

namespace {

constexpr int kFromKeyboard = -1;

POINT MenuPoint(HWND button, LPARAM point) {
  POINT at = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  RECT rect = {};
  if (at.x == kFromKeyboard && at.y == kFromKeyboard && GetWindowRect(button, &rect)) {
    at = {rect.left, rect.bottom};
  }
  return at;
}

}  // namespace

void OpenCellMenu(HWND button, LPARAM point) {
  SetFocus(button);
  HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(IDM_CELL_MENU));
  if (menu == nullptr) return;
  HMENU items = GetSubMenu(menu, 0);
  EnableMenuItem(items, IDM_CELL_SELECT_KEY, MF_BYCOMMAND | (TransferRunning() ? MF_GRAYED : MF_ENABLED));
  UpdateClipboardItems(items);
  const POINT at = MenuPoint(button, point);
  const int id = static_cast<int>(TrackPopupMenu(items, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                 at.x, at.y, 0, MainWindow(), nullptr));
  DestroyMenu(menu);
  // The key dialog opens as a click on the button opens it; the rest are the Edit
  // menu's commands.
  if (id == IDM_CELL_SELECT_KEY) {
    SendMessageA(button, BM_CLICK, 0, 0);
  } else if (id != 0) {
    SendMessageA(MainWindow(), WM_COMMAND, static_cast<WPARAM>(id), 0);
  }
}
