#pragma once
// At the program's start: the runs that a crash, a kill or a power cut left
// unfinished in the journal since they were last told of, said in one line
// for the message pane with the way to their readings.

#include <QString>

#include <string>

namespace ql {

// The notice of the unfinished runs in the journal at `path`, each told once
// (journal::TakeUnfinishedRuns); empty when there are none.
QString UnfinishedRunsNotice(const std::string& path);

}  // namespace ql
