// Differences between two configurations, one line each, in the order counts,
// typematic, column pins, row pins, cells (row by row):
//   rows: 12 -> 13
//   typematic: off -> on
//   Column 3 pin: C -> D
//   Row 13 pin: (none) -> X       a line in use on one side only
//   Row 3 Col 5: Shift+A -> B     keys by their whole code, as key texts
// A cell inside the counts of one side only is listed when it holds a key there.
#pragma once

#include <string>
#include <vector>

#include "model/config.h"

// Empty when the two configurations are the same within their counts.
std::vector<std::string> DiffConfigs(const ConfigModel& a, const ConfigModel& b);
