// The JSON form of a configuration (documented in docs/json-format.md): for
// version control, scripts and hand edits. Every key code is kept whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/config.h"

constexpr char kJsonFormatName[] = "rq57-config";
constexpr int kJsonFormatVersion = 1;
// Larger inputs are refused unread: a full 23-line configuration is far below it.
constexpr std::size_t kJsonMaxSize = 1 << 20;
// Deeper nesting is refused before parsing; the format itself nests five deep.
constexpr int kJsonMaxDepth = 16;

// The configuration within its counts, one cell per line.
std::string ExportConfigJson(const ConfigModel& model);

// Reads a JSON form into model (starting from the defaults of a new
// configuration). Returns false with every problem found in errors, each with
// its place in the document (e.g. `cells[3][5].key: unknown key "Foo"`); model
// is then unusable. On true the configuration encodes: no pin serves two lines.
bool ImportConfigJson(std::string_view text, ConfigModel& model, std::vector<std::string>& errors);
