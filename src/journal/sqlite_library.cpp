#include "journal/sqlite_library.h"

#include <dlfcn.h>

#include <type_traits>

#include "journal/journal_store.h"

namespace serenitap::journal {

std::optional<SqliteLibrary> LoadSqliteLibrary(const char* name, std::string& error) {
  // Its links are resolved at once, as it asks for; it stays loaded.
  void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = dlerror();
    error = std::string("the SQLite library ") + name + " could not be loaded" +
            (reason ? std::string(" (") + reason + ")" : "");
    return std::nullopt;
  }
  SqliteLibrary library{};
  bool complete = true;
  const auto find = [&](auto& function, const char* symbol) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, symbol));
    if (function == nullptr && complete) {
      complete = false;
      error = std::string("the SQLite library ") + name + " has no " + symbol;
    }
  };
  find(library.open_v2, "sqlite3_open_v2");
  find(library.close_v2, "sqlite3_close_v2");
  find(library.busy_handler, "sqlite3_busy_handler");
  find(library.db_config, "sqlite3_db_config");
  find(library.file_control, "sqlite3_file_control");
  find(library.wal_checkpoint_v2, "sqlite3_wal_checkpoint_v2");
  find(library.exec, "sqlite3_exec");
  find(library.errmsg, "sqlite3_errmsg");
  find(library.errstr, "sqlite3_errstr");
  find(library.prepare_v2, "sqlite3_prepare_v2");
  find(library.finalize, "sqlite3_finalize");
  find(library.step, "sqlite3_step");
  find(library.reset, "sqlite3_reset");
  find(library.clear_bindings, "sqlite3_clear_bindings");
  find(library.bind_int64, "sqlite3_bind_int64");
  find(library.bind_text, "sqlite3_bind_text");
  find(library.bind_null, "sqlite3_bind_null");
  find(library.column_int64, "sqlite3_column_int64");
  find(library.column_text, "sqlite3_column_text");
  find(library.column_bytes, "sqlite3_column_bytes");
  find(library.column_type, "sqlite3_column_type");
  if (complete) return library;
  dlclose(handle);
  return std::nullopt;
}

const SqliteLibrary& Sqlite() {
  // Made once, by the first thread to get here; a failure leaves it unmade.
  static const SqliteLibrary library = [] {
    std::string error;
    const std::optional<SqliteLibrary> loaded = LoadSqliteLibrary(kSqliteLibraryName, error);
    if (!loaded) throw JournalError(JournalTrouble::Unwritable, error);
    return *loaded;
  }();
  return library;
}

}  // namespace serenitap::journal
