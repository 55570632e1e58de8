// The Key Tester: a modeless window that lists every key combination arriving while
// it is active, with the cells of the configuration that send it, and shows the
// first such cell pushed in the grid.
#pragma once

#include <windows.h>

// Opens the tester, or brings the open one to the front.
void OpenKeyTester();

// Lines the tester keeps; older ones go.
constexpr int kKeyTesterMaxLines = 1000;
