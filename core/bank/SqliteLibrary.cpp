#include "SqliteLibrary.h"

#include "RuntimeLibrary.h"

#include <mutex>

const SqliteLibrary *SqliteLibrary::get()
{
    static std::mutex lock;
    static SqliteLibrary api;
    static bool tried = false;
    static bool loaded = false;
    std::lock_guard guard(lock);
    if (tried)
        return loaded ? &api : nullptr;
    tried = true;
    static RuntimeLibrary library(QStringLiteral("sqlcipher"), 0);
    loaded = library.load()
        && library.resolve({ { api.open_v2, "sqlite3_open_v2" }, { api.close, "sqlite3_close" },
            { api.exec, "sqlite3_exec" }, { api.errmsg, "sqlite3_errmsg" },
            { api.prepare_v2, "sqlite3_prepare_v2" }, { api.step, "sqlite3_step" },
            { api.reset, "sqlite3_reset" }, { api.finalize, "sqlite3_finalize" },
            { api.bind_int, "sqlite3_bind_int" }, { api.bind_text, "sqlite3_bind_text" },
            { api.column_count, "sqlite3_column_count" }, { api.column_name, "sqlite3_column_name" },
            { api.column_type, "sqlite3_column_type" }, { api.column_int64, "sqlite3_column_int64" },
            { api.column_double, "sqlite3_column_double" }, { api.column_text, "sqlite3_column_text" } });
    return loaded ? &api : nullptr;
}
