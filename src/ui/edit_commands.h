// The Edit menu: undo and redo of every edit, and the clipboard commands on the key
// button that has the focus.
#pragma once

#include <windows.h>

#include "ui/grid_geometry.h"

// Runs one of the Edit menu's commands; other ids do nothing. The caller refuses
// commands while a transfer runs.
void RunEditCommand(int id);

// Names the undo and redo steps in their items and greys what cannot run now.
void UpdateEditMenu(HMENU menu);

// Greys Cut, Copy, Paste and Clear of a menu as the Edit menu does.
void UpdateClipboardItems(HMENU menu);

// Whether the focus is on a visible key button (the clipboard commands' target).
bool KeyButtonHasFocus();
// The model cell of the focused key button; false when no key button has the focus.
bool FocusedKeyCell(ModelCell& cell);
// Whether a message is a key-down of Cut, Copy, Paste or Clear's keys.
bool IsClipboardKeystroke(const MSG& message);

// Name of the private clipboard format that carries a key's exact code.
constexpr char kKeyCodeClipboardFormat[] = "RQ57 Key Code";
