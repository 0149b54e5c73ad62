#pragma once
// The journal's tables; docs/journal.md describes them column by column.
//
// A sample's id is its part's id times 2^32 plus its number in the part
// (1, 2, ...): a part's samples are one range of the table's own key, found
// and counted without an index of their own, and they go with their part
// (trigger parts_take_samples).

#include <cstdint>

namespace ql::journal {

// PRAGMA user_version of a journal in this layout; 0 is a new, empty file.
inline constexpr int kSchemaVersion = 1;

inline constexpr const char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS runs(
  id INTEGER PRIMARY KEY,
  start_us INTEGER NOT NULL,
  start_offset_s INTEGER NOT NULL,
  end_us INTEGER,
  program_version TEXT NOT NULL,
  face TEXT NOT NULL,
  device_path TEXT NOT NULL,
  port_name TEXT NOT NULL,
  sampling_ms INTEGER NOT NULL,
  db_reference REAL NOT NULL,
  state TEXT NOT NULL,
  pid INTEGER NOT NULL,
  boot_id TEXT NOT NULL,
  heartbeat_us INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS parts(
  id INTEGER PRIMARY KEY,
  run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  function TEXT NOT NULL,
  unit TEXT NOT NULL,
  range TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS parts_by_run ON parts(run_id, seq);
CREATE TABLE IF NOT EXISTS samples(
  id INTEGER PRIMARY KEY,
  ms INTEGER NOT NULL,
  utc_offset_s INTEGER NOT NULL,
  value REAL,
  line TEXT NOT NULL);
CREATE TRIGGER IF NOT EXISTS parts_take_samples AFTER DELETE ON parts BEGIN
  DELETE FROM samples WHERE id > old.id * 4294967296 AND id < (old.id + 1) * 4294967296;
END;
CREATE TABLE IF NOT EXISTS events(
  id INTEGER PRIMARY KEY,
  run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,
  utc_us INTEGER NOT NULL,
  utc_offset_s INTEGER NOT NULL,
  kind TEXT NOT NULL,
  detail TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS events_by_run ON events(run_id);
)sql";

// The ids of a part's samples lie strictly between these two. Part ids
// outside 1 .. kMaxPartId (a damaged file) hold no samples.
inline constexpr std::int64_t kMaxPartId = (std::int64_t{1} << 30) - 1;
struct SampleKeys {
  std::int64_t after = 0;   // the part's id times 2^32
  std::int64_t before = 0;  // the next part's first key
};
inline constexpr SampleKeys KeysOfPart(std::int64_t part_id) {
  if (part_id < 1 || part_id > kMaxPartId) return {0, 0};
  return {part_id << 32, (part_id + 1) << 32};
}

}  // namespace ql::journal
