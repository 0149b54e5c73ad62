#pragma once
// The journal's tables; docs/journal.md describes them column by column.

namespace ql::journal {

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
  part_id INTEGER NOT NULL REFERENCES parts(id) ON DELETE CASCADE,
  utc_us INTEGER NOT NULL,
  utc_offset_s INTEGER NOT NULL,
  seconds REAL NOT NULL,
  value REAL,
  over_range INTEGER NOT NULL,
  display TEXT NOT NULL,
  label TEXT NOT NULL,
  line TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS samples_by_part ON samples(part_id);
CREATE TABLE IF NOT EXISTS events(
  id INTEGER PRIMARY KEY,
  run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,
  utc_us INTEGER NOT NULL,
  utc_offset_s INTEGER NOT NULL,
  kind TEXT NOT NULL,
  detail TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS events_by_run ON events(run_id);
)sql";

}  // namespace ql::journal
