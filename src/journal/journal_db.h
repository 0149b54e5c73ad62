#pragma once
// One open connection to the journal database: the tables, the settings that
// make every commit cheap and safe, and a corrupt file moved aside.

#include <sqlite3.h>

#include <string>

namespace ql::journal {

// The journal's own file: QUINTALINE_JOURNAL, else
// $XDG_DATA_HOME/Quintaline/journal.sqlite3, else
// ~/.local/share/Quintaline/journal.sqlite3.
std::string DefaultJournalPath();

class Db {
 public:
  Db() = default;
  ~Db();
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  // Opens (creating the folder, the file and the tables as needed). A file
  // that is not a database, a damaged one or one of an older layout is
  // renamed to "<path>.corrupt-<UTC time>" and a new journal started; one of
  // a newer layout is left as it is. Returns false with Error() set when the
  // journal cannot be used.
  bool Open(const std::string& path);
  // Opens an existing journal of this layout for reading only; never
  // changes the file.
  bool OpenReadOnly(const std::string& path);
  void Close();

  sqlite3* Handle() const { return db_; }
  const std::string& Error() const { return error_; }
  // The path a corrupt journal was moved to by the last Open(), if any.
  const std::string& MovedAside() const { return moved_aside_; }

  // Runs SQL without results; false with Error() set on failure.
  bool Exec(const char* sql);
  void SetError(const std::string& what);

 private:
  bool OpenAndPrepare(const std::string& path);
  // False with Error() set for a file of another layout (layout_ then says
  // which); such a file is never written to.
  bool CheckLayout();
  // Puts the file in WAL mode, waiting for other programs as long as SQLite
  // waits for their transactions.
  bool UseWal();
  // Makes the tables of a new file.
  bool MakeTables();
  bool TablesEmpty();
  // PRAGMA user_version, or -1 when it cannot be read.
  int UserVersion();

  sqlite3* db_ = nullptr;
  std::string error_;
  std::string moved_aside_;
  int layout_ = 0;  // the layout found by the last OpenAndPrepare()
};

// A prepared statement that finalises itself.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  bool Ok() const { return stmt_ != nullptr; }
  sqlite3_stmt* Get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace ql::journal
