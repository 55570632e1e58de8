#include "win32/keyboard_settings.h"

bool ReadKeyboardSetting(UINT action, int& value) {
  int result = 0;
  if (!SystemParametersInfoA(action, 0, &result, 0)) return false;
  value = result;
  return true;
}

void WriteKeyboardSetting(UINT action, int value) {
  // Not written to the profile and not broadcast: the link values are transient.
  SystemParametersInfoA(action, static_cast<UINT>(value), nullptr, 0);
}
