// The commands of the Tools menu that run in no window of their own: Back Up RQ57,
// Compare with RQ57 and Export Wiring Chart (the Key Tester and the Check window
// have their own files).
#pragma once

// Reads the encoder into a file that holds what Read followed by Save would write.
void BackUpCommand();
// Lists how the encoder's configuration differs from the editor's.
void CompareCommand();
// Saves the wiring chart of the editor's configuration as an SVG picture.
void ExportChartCommand();
