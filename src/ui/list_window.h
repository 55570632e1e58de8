// The modeless tool windows that list lines (Compare with RQ57, Check
// Configuration): one list box line per item, one window per kind.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class ListWindowKind { kCompare, kCheck };

// Runs for a line that is double-clicked or on which Enter is pressed.
using ListLineAction = void (*)(int line);

// Shows the kind's window with these lines, creating it the first time; running it
// again refreshes the same window. action may be nullptr. Returns the window.
HWND ShowListWindow(ListWindowKind kind, const char* title, const std::vector<std::string>& lines,
                    ListLineAction action);
// Puts new lines into the kind's open window, keeping the selected line's place,
// without activating it.
void RefillListWindow(ListWindowKind kind, const std::vector<std::string>& lines);
// Whether the kind's window is open.
bool ListWindowOpen(ListWindowKind kind);

// Adds a line at the end of a list box, dropping the first line when it holds
// maxLines, selects it (which scrolls it into view) and paints it at once.
void AppendListLine(HWND list, const std::string& text, int maxLines);
// Lets a list box scroll sideways as far as this line reaches.
void WidenListForLine(HWND list, const std::string& line);

// Creates a tool window (modeless, owned by the main window) from a dialog resource.
HWND CreateToolWindow(int dialogId, DLGPROC proc);
// Whether a window is one of the editor's tool windows (never a modal one).
bool IsToolWindow(HWND window);
// The main window was disabled under a modal window of the editor, or enabled again:
// the tool windows follow it, so that nothing changes while a command waits on one.
void EnableToolWindows(bool enable);

// Shows a tool window and makes it the active one.
void BringForward(HWND window);

// Moves a tool window beside the main window (right of it, else left of it) so that
// it leaves the grid in sight, below any tool window already there; where neither
// side fits the work area it stays put.
void PlaceBesideMainWindow(HWND window);
