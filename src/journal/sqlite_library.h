#pragma once
// The SQLite C library is loaded when the journal is first opened, not with
// the program: it resolves all of its links as it is loaded, which cost every
// start about 4 million instructions before the first window, and the
// journal is opened on the writer's thread once the window shows (or when My
// Progress opens).
#include <sqlite3.h>

#include <optional>
#include <string>

namespace serenitap::journal {

// The functions of the SQLite library the journal calls.
struct SqliteLibrary {
  decltype(&sqlite3_open_v2) open_v2;
  decltype(&sqlite3_close_v2) close_v2;
  decltype(&sqlite3_busy_handler) busy_handler;
  decltype(&sqlite3_db_config) db_config;
  decltype(&sqlite3_file_control) file_control;
  decltype(&sqlite3_wal_checkpoint_v2) wal_checkpoint_v2;
  decltype(&sqlite3_exec) exec;
  decltype(&sqlite3_errmsg) errmsg;
  decltype(&sqlite3_errstr) errstr;
  decltype(&sqlite3_prepare_v2) prepare_v2;
  decltype(&sqlite3_finalize) finalize;
  decltype(&sqlite3_step) step;
  decltype(&sqlite3_reset) reset;
  decltype(&sqlite3_clear_bindings) clear_bindings;
  decltype(&sqlite3_bind_int64) bind_int64;
  decltype(&sqlite3_bind_text) bind_text;
  decltype(&sqlite3_bind_null) bind_null;
  decltype(&sqlite3_column_int64) column_int64;
  decltype(&sqlite3_column_text) column_text;
  decltype(&sqlite3_column_bytes) column_bytes;
  decltype(&sqlite3_column_type) column_type;
};

// The system's SQLite library (its name as the dynamic loader knows it).
inline constexpr char kSqliteLibraryName[] = "libsqlite3.so.0";

// Loads the library of that name; on failure the library stays unloaded and
// error says why (the name and the loader's reason).
std::optional<SqliteLibrary> LoadSqliteLibrary(const char* name, std::string& error);

// The system's library, loaded on the first call from any thread; throws
// JournalError when it cannot be loaded (the next call tries again).
const SqliteLibrary& Sqlite();

}  // namespace serenitap::journal
