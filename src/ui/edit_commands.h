// The Edit menu: undo and redo of every edit, and the clipboard commands on the key
// button that has the focus.
#pragma once

#include <windows.h>

#include "model/config_editor.h"
#include "ui/rules/grid_geometry.h"

// The Edit menu's commands; the caller refuses them while a transfer runs. Undo and
// Redo show what their step changed; the clipboard commands act on the key button
// that has the focus, and on nothing when none has.
// Undo returns the step it took back, nullptr when there was none.
const EditStep* UndoCommand();
void RedoCommand();
void CutCommand();
void CopyCommand();
void PasteCommand();
void ClearCommand();

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
