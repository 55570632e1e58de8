// The one owner of the configuration being edited: every change goes through an
// edit operation here, which keeps the undo history and the modified flag.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/config.h"

enum class EditKind { kKey, kColumnPin, kRowPin, kRows, kColumns, kTypematic };

// One undoable user action with the values before and after it.
struct EditStep {
  EditKind kind = EditKind::kKey;
  int row = 0;          // kKey: the cell's row; kRowPin: the row
  int column = 0;       // kKey: the cell's column; kColumnPin: the column
  int before = 0;       // key code, pin, typematic (0/1), or the count the user chose
  int after = 0;
  int otherBefore = 0;  // kRows/kColumns: the other count, which the count rule may lower
  int otherAfter = 0;
};

// What the user calls a step: "Key Row 2 Col 5", "Pin Row 3", "Number of Rows", ...
std::string StepName(const EditStep& step);

class ConfigEditor {
 public:
  ConfigEditor();

  const ConfigModel& Model() const { return model_; }
  // Clear exactly when the history stands where it stood at the last Replace or
  // MarkSaved. The model's own modified field mirrors it.
  bool Modified() const { return model_.modified; }

  // Edits. Each is one undo step, also when it sets the value the model already
  // has. A value out of range changes nothing and returns false.
  bool SetKey(int row, int column, KeyCode code);
  bool SetPin(bool column, int index, int pin);
  // A count change applies the count rule to the other count in the same step.
  bool SetRows(int rows);
  bool SetColumns(int columns);
  bool SetTypematic(bool enabled);

  // A whole configuration arrived (New, Open, Read): the history starts afresh and
  // the flag is clear. The incoming modified field is ignored.
  void Replace(const ConfigModel& model);
  // The configuration as it stands was saved.
  void MarkSaved();

  // Called after every change of the model: each edit, undo and redo (replaced
  // false) and Replace (true). One listener at a time; nullptr for none.
  using ChangeListener = void (*)(bool replaced);
  void SetChangeListener(ChangeListener listener) { listener_ = listener; }

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < history_.size(); }
  // Names of the steps Undo and Redo would take; empty when there is none.
  std::string UndoName() const;
  std::string RedoName() const;
  // Takes back, or repeats, one step; returns it, or nullptr when there was none.
  const EditStep* Undo();
  const EditStep* Redo();

 private:
  bool SetCount(EditKind kind, int count);
  // The count a kRows or kColumns step changes, and the other one.
  int& CountOf(EditKind kind);
  int& OtherCountOf(EditKind kind);
  void Record(const EditStep& step);
  void Apply(const EditStep& step, bool forward);
  void UpdateModified();
  void Changed(bool replaced) const;

  static constexpr std::size_t kNoSavedPoint = static_cast<std::size_t>(-1);

  ConfigModel model_;
  std::vector<EditStep> history_;
  std::size_t position_ = 0;   // steps before it are done, from it on undone
  std::size_t saved_ = 0;      // position at the last Replace or MarkSaved
  ChangeListener listener_ = nullptr;
};
