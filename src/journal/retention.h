#pragma once
// What the journal keeps: the settings of section "Journal" and the removal
// of old runs when a journal is opened for writing.

#include <cstdint>
#include <string>

#include "journal/journal_db.h"
#include "run/profile_store.h"

namespace ql::journal {

struct JournalSettings {
  bool enabled = true;  // "Enabled": 0 turns the journal off
  int keep_days = 90;   // "KeepDays": runs older than this go; 0 keeps all
  int max_mb = 1024;    // "MaxMB": oldest runs go while the journal is larger
};

// Section "Journal" of the settings; a missing or bad value keeps its default.
JournalSettings ReadJournalSettings(ProfileStore& store);

// Removes, oldest first, the runs last written more than keep_days ago and
// then those beyond max_mb of used pages. Never removes the newest run nor
// one another live process is still recording. Returns the number of runs
// removed, or -1 with `error` set.
int ApplyRetention(Db& db, const JournalSettings& settings, std::int64_t now_us,
                   std::string& error);

}  // namespace ql::journal
