// The commands of the Tools menu: Key Tester, Back Up RQ57, Compare with RQ57,
// Check Configuration and Export Wiring Chart.
#pragma once

// Runs a Tools menu command by its id; other ids do nothing.
void RunToolCommand(int id);
