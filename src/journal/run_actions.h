#pragma once
// Changing a journal's runs from outside their writers: removing a run, and
// taking note of the runs whose program ended without stopping them.

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

namespace ql::journal {

// Removes run `run_id` with its parts, samples and events. A run that
// another live program still records is refused, and so is one that is
// not there.
Status DeleteRun(const std::string& path, std::int64_t run_id);

// The runs, oldest first, that a program left recording or paused when it
// ended (a crash, a kill, a power cut) and that were not taken before: each
// is stored as "unfinished", so it is told of once. A missing journal has
// none.
Status TakeUnfinishedRuns(const std::string& path, std::vector<std::int64_t>& run_ids);

}  // namespace ql::journal
