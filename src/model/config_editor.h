// The one owner of the configuration being edited: every change goes through an
// edit operation here, which keeps the undo history and the modified flag.
#pragma once

#include <cstddef>
#include <cstdint>
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

// One state of the editor's history: the configuration as it stood at that moment.
struct HistoryPoint {
  std::uint64_t stamp = 0;
};

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
  // Where the history stands now: a save takes it when it builds the file's image.
  HistoryPoint Point() const;
  // The configuration as it stood at point was saved. Edits made since leave the
  // flag set, and it clears when undo or redo return there; a point no longer in the
  // history (undone and replaced by another edit, or before a Replace) matches nothing.
  void MarkSaved(HistoryPoint point);
  // The configuration as it stands was saved.
  void MarkSaved() { MarkSaved(Point()); }

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

  // The stamp of the state at a position of the history (0: as replaced).
  std::uint64_t StampAt(std::size_t position) const;

  static constexpr std::size_t kNoSavedPoint = static_cast<std::size_t>(-1);

  // A step done, with the stamp of the state it leads to; no two states share one.
  struct DoneStep {
    EditStep step;
    std::uint64_t stamp;
  };

  ConfigModel model_;
  std::vector<DoneStep> history_;
  std::size_t position_ = 0;   // steps before it are done, from it on undone
  std::size_t saved_ = 0;      // position at the last Replace or MarkSaved
  std::uint64_t replacedStamp_ = 0;   // stamp of the state at position 0
  std::uint64_t lastStamp_ = 0;       // the last stamp given out
  ChangeListener listener_ = nullptr;
};
