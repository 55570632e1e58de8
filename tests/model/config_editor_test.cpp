#include "model/config_editor.h"
#include "model/same_model.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr KeyCode kShiftA = kModShift | 4;

// Undo puts back exactly the configuration before the edit (the flag included),
// Redo exactly the one after it.
TEST(ConfigEditor, EveryEditUndoesAndRedoesExactly) {
  const struct {
    const char* name;
    std::function<bool(ConfigEditor&)> edit;
    std::function<void(ConfigModel&)> expect;
  } cases[] = {
      {"Key Row 3 Col 21", [](ConfigEditor& e) { return e.SetKey(2, 20, kShiftA); },
       [](ConfigModel& m) { m.keys[2 * kMatrixStride + 20] = kShiftA; }},
      {"Pin Col 5", [](ConfigEditor& e) { return e.SetPin(true, 4, 2); },
       [](ConfigModel& m) { m.columnPins[4] = 2; }},
      {"Pin Row 23", [](ConfigEditor& e) { return e.SetPin(false, 22, 23); },
       [](ConfigModel& m) { m.rowPins[22] = 23; }},
      {"Typematic", [](ConfigEditor& e) { return e.SetTypematic(true); },
       [](ConfigModel& m) { m.typematic = true; }},
      // The count rule lowers the other count within the same step.
      {"Number of Rows", [](ConfigEditor& e) { return e.SetRows(23); },
       [](ConfigModel& m) { m.rows = 23; m.columns = 1; }},
      {"Number of Columns", [](ConfigEditor& e) { return e.SetColumns(20); },
       [](ConfigModel& m) { m.columns = 20; m.rows = 4; }},
      {"Number of Columns", [](ConfigEditor& e) { return e.SetColumns(3); },
       [](ConfigModel& m) { m.columns = 3; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigEditor editor;
    ASSERT_TRUE(editor.SetKey(0, 0, 7));  // a step before, which must stay done
    editor.MarkSaved();
    const ConfigModel before = editor.Model();
    ConfigModel after = before;
    c.expect(after);
    after.modified = true;

    ASSERT_TRUE(c.edit(editor));
    EXPECT_TRUE(SameModel(editor.Model(), after));
    EXPECT_EQ(editor.UndoName(), c.name);
    ASSERT_NE(editor.Undo(), nullptr);
    EXPECT_TRUE(SameModel(editor.Model(), before));
    EXPECT_EQ(editor.RedoName(), c.name);
    ASSERT_NE(editor.Redo(), nullptr);
    EXPECT_TRUE(SameModel(editor.Model(), after));
  }
}

TEST(ConfigEditor, ModifiedFlagIsClearExactlyAtTheSavedPoint) {
  ConfigEditor editor;
  EXPECT_FALSE(editor.Modified());
  // Setting the value a field already has is still an edit and a step.
  editor.SetKey(1, 1, kKeyNotUsed);
  EXPECT_TRUE(editor.Modified());
  editor.SetKey(1, 2, kShiftA);
  editor.MarkSaved();
  EXPECT_FALSE(editor.Modified());

  editor.Undo();
  EXPECT_TRUE(editor.Modified());
  editor.Redo();
  EXPECT_FALSE(editor.Modified());
  editor.Undo();
  editor.Undo();
  EXPECT_TRUE(editor.Modified());  // before the saved point
  EXPECT_EQ(editor.Undo(), nullptr);

  // A new edit drops the undone steps, the saved point among them: from now on no
  // state of the history is the saved one.
  editor.SetTypematic(true);
  EXPECT_FALSE(editor.CanRedo());
  EXPECT_EQ(editor.RedoName(), "");
  editor.SetRows(5);  // as many steps as at the save, but other ones
  EXPECT_TRUE(editor.Modified());
  editor.Undo();
  editor.Undo();
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(editor.Undo(), nullptr);
  EXPECT_EQ(editor.UndoName(), "");

  // A save marks the point its image was built at: edits made during its dialog
  // stay unsaved, and once that point is undone and replaced it matches nothing.
  editor.SetKey(0, 0, 7);
  const HistoryPoint built = editor.Point();
  editor.SetKey(0, 1, kShiftA);
  editor.MarkSaved(built);
  EXPECT_TRUE(editor.Modified());
  editor.Undo();
  EXPECT_FALSE(editor.Modified());
  editor.Undo();
  editor.SetKey(0, 0, 7);
  editor.MarkSaved(built);
  EXPECT_TRUE(editor.Modified());
}

TEST(ConfigEditor, ReplaceStartsAFreshCleanHistory) {
  ConfigEditor editor;
  editor.SetRows(5);
  editor.SetRows(6);
  editor.Undo();
  ConfigModel incoming = editor.Model();
  incoming.columns = 9;
  incoming.modified = true;  // ignored
  editor.Replace(incoming);
  EXPECT_FALSE(editor.Modified());
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.CanRedo());
  EXPECT_EQ(editor.Model().columns, 9);
  EXPECT_EQ(editor.Model().rows, 5);
}

TEST(ConfigEditor, ValuesOutOfRangeChangeNothing) {
  ConfigEditor editor;
  const ConfigModel start = editor.Model();
  EXPECT_FALSE(editor.SetKey(-1, 0, 1));
  EXPECT_FALSE(editor.SetKey(0, kMaxLines, 1));
  EXPECT_FALSE(editor.SetPin(true, kMaxLines, 0));
  EXPECT_FALSE(editor.SetPin(false, 0, kPinCount));
  EXPECT_FALSE(editor.SetPin(false, 0, -1));
  EXPECT_FALSE(editor.SetRows(0));
  EXPECT_FALSE(editor.SetColumns(kMaxLines + 1));
  EXPECT_TRUE(SameModel(editor.Model(), start));
  EXPECT_FALSE(editor.CanUndo());
}

}  // namespace
