// The configuration as a text table for `rq57cfg show`.
#pragma once

#include <string>

#include "model/config.h"

// Counts and typematic, a header line of column numbers with their pins, then
// one line per row with its pin and the key text of every cell; columns are
// padded to their widest text and kept apart by two blanks.
std::string ShowTable(const ConfigModel& model);

// What the table cannot show of the image it was loaded from, and why: key data
// is stored by pin, so a column (or row) on the pin of an earlier one gets none
// of its own, and the stored entries that no pin takes are listed with their
// keys. Empty when every line has its own pin.
std::string ShowUnloadedKeys(const ConfigModel& model, const ConfigImage& image);
