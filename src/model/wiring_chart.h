// A printable wiring chart of a configuration as one SVG page of 210 x 279 mm,
// which fits both A4 and Letter: the pin of every column and row line, which
// line uses each pin A to X, and the grid with every cell's key.
#pragma once

#include <string>

#include "model/config.h"

// title heads the page (for example the file name); it may hold any characters.
std::string WiringChartSvg(const ConfigModel& model, const std::string& title);
