#include "win32/sim_input.h"

#include <windows.h>

void SendKeyEvents(const std::vector<SimKeyEvent>& events) {
  std::vector<INPUT> inputs(events.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    INPUT& input = inputs[i];
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(events[i].key);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(static_cast<UINT>(events[i].key), 0));
    input.ki.dwFlags = events[i].down ? 0 : KEYEVENTF_KEYUP;
  }
  if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}
