// Assign Keys by Typing: a modeless window that owns the keyboard while it is
// active, as the Key Tester does, and makes every key combination typed the key of
// the next cell, in reading order within the counts. Each assignment is one undo
// step, as a choice in the key dialog is.
#pragma once

#include <windows.h>

#include "model/config_editor.h"

// Opens the window at the focused key button's cell, else where it stood when it
// was closed (Row 1 Col 1 at first); brings an open one to the front.
void OpenAssignKeys();
// The configuration changed: the next cell stays inside the counts, and a whole new
// configuration (replaced) starts again at Row 1 Col 1.
void AssignKeysConfigChanged(bool replaced);
// Undo took back step (nullptr: none): past the last cell, the key it undid is the
// next one again.
void AssignKeysUndone(const EditStep* step);

// Lines the window keeps; older ones go.
constexpr int kAssignKeysMaxLines = 1000;
