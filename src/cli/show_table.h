// The configuration as a text table for `rq57cfg show`.
#pragma once

#include <string>

#include "model/config.h"

// Counts and typematic, a header line of column numbers with their pins, then
// one line per row with its pin and the key text of every cell; columns are
// padded to their widest text and kept apart by two blanks.
std::string ShowTable(const ConfigModel& model);
