#include "model/config_editor.h"

namespace {

bool LineInRange(int line) { return line >= 0 && line < kMaxLines; }

}  // namespace

std::string StepName(const EditStep& step) {
  switch (step.kind) {
    case EditKind::kKey:
      return "Key Row " + std::to_string(step.row + 1) + " Col " + std::to_string(step.column + 1);
    case EditKind::kColumnPin: return "Pin Col " + std::to_string(step.column + 1);
    case EditKind::kRowPin: return "Pin Row " + std::to_string(step.row + 1);
    case EditKind::kRows: return "Number of Rows";
    case EditKind::kColumns: return "Number of Columns";
    case EditKind::kTypematic: return "Typematic";
  }
  return {};
}

ConfigEditor::ConfigEditor() { ResetModel(model_); }

bool ConfigEditor::SetKey(int row, int column, KeyCode code) {
  if (!LineInRange(row) || !LineInRange(column)) return false;
  EditStep step;
  step.kind = EditKind::kKey;
  step.row = row;
  step.column = column;
  step.before = model_.keys[row * kMatrixStride + column];
  step.after = code;
  Record(step);
  return true;
}

bool ConfigEditor::SetPin(bool column, int index, int pin) {
  if (!LineInRange(index) || pin < 0 || pin >= kPinCount) return false;
  EditStep step;
  step.kind = column ? EditKind::kColumnPin : EditKind::kRowPin;
  (column ? step.column : step.row) = index;
  step.before = (column ? model_.columnPins : model_.rowPins)[index];
  step.after = pin;
  Record(step);
  return true;
}

bool ConfigEditor::SetRows(int rows) { return SetCount(EditKind::kRows, rows); }

bool ConfigEditor::SetColumns(int columns) { return SetCount(EditKind::kColumns, columns); }

bool ConfigEditor::SetCount(EditKind kind, int count) {
  if (!CountInRange(count)) return false;
  EditStep step;
  step.kind = kind;
  step.before = CountOf(kind);
  step.after = count;
  step.otherBefore = OtherCountOf(kind);
  step.otherAfter = OtherCountAfterChange(count, step.otherBefore);
  Record(step);
  return true;
}

int& ConfigEditor::CountOf(EditKind kind) {
  return kind == EditKind::kRows ? model_.rows : model_.columns;
}

int& ConfigEditor::OtherCountOf(EditKind kind) {
  return kind == EditKind::kRows ? model_.columns : model_.rows;
}

bool ConfigEditor::SetTypematic(bool enabled) {
  EditStep step;
  step.kind = EditKind::kTypematic;
  step.before = model_.typematic ? 1 : 0;
  step.after = enabled ? 1 : 0;
  Record(step);
  return true;
}

void ConfigEditor::Replace(const ConfigModel& model) {
  model_ = model;
  replacedStamp_ = ++lastStamp_;
  history_.clear();
  position_ = 0;
  saved_ = 0;
  UpdateModified();
  Changed(true);
}

std::uint64_t ConfigEditor::StampAt(std::size_t position) const {
  return position == 0 ? replacedStamp_ : history_[position - 1].stamp;
}

HistoryPoint ConfigEditor::Point() const { return {StampAt(position_)}; }

void ConfigEditor::MarkSaved(HistoryPoint point) {
  saved_ = kNoSavedPoint;
  for (std::size_t position = 0; position <= history_.size(); ++position) {
    if (StampAt(position) == point.stamp) saved_ = position;
  }
  UpdateModified();
}

std::string ConfigEditor::UndoName() const {
  return CanUndo() ? StepName(history_[position_ - 1].step) : std::string();
}

std::string ConfigEditor::RedoName() const {
  return CanRedo() ? StepName(history_[position_].step) : std::string();
}

const EditStep* ConfigEditor::Undo() {
  if (!CanUndo()) return nullptr;
  --position_;
  Apply(history_[position_].step, false);
  UpdateModified();
  Changed(false);
  return &history_[position_].step;
}

const EditStep* ConfigEditor::Redo() {
  if (!CanRedo()) return nullptr;
  Apply(history_[position_].step, true);
  ++position_;
  UpdateModified();
  Changed(false);
  return &history_[position_ - 1].step;
}

void ConfigEditor::Record(const EditStep& step) {
  // A new edit drops the undone steps; when the saved state was among them, no
  // position of the history matches the saved file any more.
  if (saved_ > position_) saved_ = kNoSavedPoint;
  history_.resize(position_);
  history_.push_back({step, ++lastStamp_});
  Apply(step, true);
  ++position_;
  UpdateModified();
  Changed(false);
}

void ConfigEditor::Apply(const EditStep& step, bool forward) {
  const int value = forward ? step.after : step.before;
  const int other = forward ? step.otherAfter : step.otherBefore;
  switch (step.kind) {
    case EditKind::kKey: model_.keys[step.row * kMatrixStride + step.column] = value; break;
    case EditKind::kColumnPin: model_.columnPins[step.column] = value; break;
    case EditKind::kRowPin: model_.rowPins[step.row] = value; break;
    case EditKind::kRows:
    case EditKind::kColumns:
      CountOf(step.kind) = value;
      OtherCountOf(step.kind) = other;
      break;
    case EditKind::kTypematic: model_.typematic = value != 0; break;
  }
}

void ConfigEditor::UpdateModified() { model_.modified = position_ != saved_; }

void ConfigEditor::Changed(bool replaced) const {
  if (listener_ != nullptr) listener_(replaced);
}
