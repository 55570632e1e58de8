// The Check Configuration window: one line per finding of the checks on the
// editor's configuration; Enter or a double click on a line puts the focus on the
// cell or pin box it names.
#pragma once

// Checks the editor's configuration and shows what was found in the Check window.
void ShowCheckWindow();
// Checks again while the window is open, so that no line names a problem that is gone.
void RefreshCheckWindow();
