#include "SqliteLibrary.h"

#include <QLibrary>
#include <mutex>

namespace {

template <typename F> bool resolve(QLibrary &library, F &function, const char *name)
{
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

} // namespace

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
    static QLibrary library(QStringLiteral("sqlcipher"), 0);
    if (!library.load())
        return nullptr;
    QLibrary &l = library;
    loaded = resolve(l, api.open_v2, "sqlite3_open_v2") && resolve(l, api.close, "sqlite3_close")
        && resolve(l, api.exec, "sqlite3_exec") && resolve(l, api.errmsg, "sqlite3_errmsg")
        && resolve(l, api.prepare_v2, "sqlite3_prepare_v2") && resolve(l, api.step, "sqlite3_step")
        && resolve(l, api.reset, "sqlite3_reset") && resolve(l, api.finalize, "sqlite3_finalize")
        && resolve(l, api.bind_int, "sqlite3_bind_int") && resolve(l, api.bind_text, "sqlite3_bind_text")
        && resolve(l, api.column_count, "sqlite3_column_count")
        && resolve(l, api.column_name, "sqlite3_column_name")
        && resolve(l, api.column_type, "sqlite3_column_type")
        && resolve(l, api.column_int64, "sqlite3_column_int64")
        && resolve(l, api.column_double, "sqlite3_column_double")
        && resolve(l, api.column_text, "sqlite3_column_text");
    return loaded ? &api : nullptr;
}
