// The desktop's keyboard delay and speed, as the link providers read and set them.
#pragma once

#include <windows.h>

// SPI_GETKEYBOARDDELAY or SPI_GETKEYBOARDSPEED; false when unreadable.
bool ReadKeyboardSetting(UINT action, int& value);
// SPI_SETKEYBOARDDELAY or SPI_SETKEYBOARDSPEED, for this session only.
void WriteKeyboardSetting(UINT action, int value);
