#include "ui/key_dialog.h"

#include "ui/app_core.h"
#include "ui/resources/resource.h"

namespace {

constexpr int kCancelled = -1;

// The modifier boxes and the key code bit each stands for.
struct ModifierBox {
  int id;
  KeyCode bit;
};
constexpr ModifierBox kModifierBoxes[] = {
    {IDC_MOD_ALT, kModAlt}, {IDC_MOD_SHIFT, kModShift}, {IDC_MOD_CTRL, kModCtrl}};

bool IsChecked(HWND dialog, int id) {
  return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void EnableBox(HWND dialog, int id, bool enable) {
  HWND box = GetDlgItem(dialog, id);
  if (box != nullptr) EnableWindow(box, enable ? TRUE : FALSE);
}

// Checked modifiers as key code bits; a disabled box still counts when checked.
KeyCode CheckedModifiers(HWND dialog) {
  KeyCode modifiers = 0;
  for (const ModifierBox& box : kModifierBoxes) {
    if (IsChecked(dialog, box.id)) modifiers |= box.bit;
  }
  return modifiers;
}

// At most two modifiers combine: with two checked the third is disabled, with one
// or none all three are enabled.
void ApplyModifierRule(HWND dialog) {
  const bool alt = IsChecked(dialog, IDC_MOD_ALT);
  const bool shift = IsChecked(dialog, IDC_MOD_SHIFT);
  const bool ctrl = IsChecked(dialog, IDC_MOD_CTRL);
  if (alt && shift) {
    EnableBox(dialog, IDC_MOD_CTRL, false);
  } else if (ctrl && (alt || shift)) {
    EnableBox(dialog, alt ? IDC_MOD_SHIFT : IDC_MOD_ALT, false);
  } else {
    for (const ModifierBox& box : kModifierBoxes) EnableBox(dialog, box.id, true);
  }
}

// Boxes from the key code's bits, with the rule above applied to them.
void InitModifierBoxes(HWND dialog, KeyCode code) {
  for (const ModifierBox& box : kModifierBoxes) {
    if (code & box.bit) SendDlgItemMessageA(dialog, box.id, BM_SETCHECK, BST_CHECKED, 0);
  }
  ApplyModifierRule(dialog);
}

// Puts the focus on the tab item before the current key's button and lets one Tab
// keystroke move it on, so the button shows the keyboard focus cue. A key number
// with no button of its own lands on "Not Used", like key number 0; numbers past the
// key range are not looked up at all (200 to 202 would meet the modifier boxes).
void FocusCurrentKey(HWND dialog, KeyCode code) {
  const int id = IDC_KEY_BASE + (code & kKeyNumberMask);
  HWND target = id <= IDC_KEY_LAST ? GetDlgItem(dialog, id) : nullptr;
  if (target == nullptr) target = GetDlgItem(dialog, IDC_KEY_BASE);
  if (target == nullptr) return;
  HWND before = GetNextDlgTabItem(dialog, target, TRUE);
  SetFocus(before != nullptr ? before : target);
  keybd_event(VK_TAB, 0, 0, 0);
  keybd_event(VK_TAB, 0, KEYEVENTF_KEYUP, 0);
}

void OnInitDialog(HWND dialog, LPARAM lParam) {
  const KeyCode code = static_cast<KeyCode>(lParam);
  InitModifierBoxes(dialog, code);
  FocusCurrentKey(dialog, code);
}

void OnCommand(HWND dialog, WPARAM wParam) {
  const int id = LOWORD(wParam);
  if (HIWORD(wParam) != BN_CLICKED) {
    EndDialog(dialog, kCancelled);
    return;
  }
  switch (id) {
    case IDC_KEY_BASE:
      EndDialog(dialog, kKeyNotUsed);
      break;
    case IDC_MOD_ALT:
    case IDC_MOD_SHIFT:
    case IDC_MOD_CTRL:
      ApplyModifierRule(dialog);
      break;
    default:
      if (id > IDC_KEY_BASE && id <= IDC_KEY_LAST) {
        EndDialog(dialog, (id - IDC_KEY_BASE) | CheckedModifiers(dialog));
      } else {
        EndDialog(dialog, kCancelled);
      }
      break;
  }
}

}  // namespace

INT_PTR CALLBACK KeyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, lParam);
      return FALSE;  // the focus is placed already
    case WM_COMMAND:
      OnCommand(dialog, wParam);
      return TRUE;
    default:
      return FALSE;
  }
}

int RunKeyDialog(HWND owner, KeyCode current) {
  const INT_PTR result = DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_SELECT_KEY), owner,
                                         KeyDialogProc, static_cast<LPARAM>(current));
  return result < 0 ? kCancelled : static_cast<int>(result);
}
