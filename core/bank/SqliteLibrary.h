#pragma once

#include <sqlite3.h>

// SQLCipher, loaded when the puzzle bank is first opened rather than at
// start: it brings OpenSSL's libcrypto with it, which a window that only
// shows the board should not carry. Every call to the database goes
// through here.
class SqliteLibrary
{
public:
    // The library, or null when it cannot be loaded. From any thread.
    static const SqliteLibrary *get();

    decltype(&sqlite3_open_v2) open_v2 = nullptr;
    decltype(&sqlite3_close) close = nullptr;
    decltype(&sqlite3_exec) exec = nullptr;
    decltype(&sqlite3_errmsg) errmsg = nullptr;
    decltype(&sqlite3_prepare_v2) prepare_v2 = nullptr;
    decltype(&sqlite3_step) step = nullptr;
    decltype(&sqlite3_reset) reset = nullptr;
    decltype(&sqlite3_finalize) finalize = nullptr;
    decltype(&sqlite3_bind_int) bind_int = nullptr;
    decltype(&sqlite3_bind_text) bind_text = nullptr;
    decltype(&sqlite3_column_count) column_count = nullptr;
    decltype(&sqlite3_column_name) column_name = nullptr;
    decltype(&sqlite3_column_type) column_type = nullptr;
    decltype(&sqlite3_column_int64) column_int64 = nullptr;
    decltype(&sqlite3_column_double) column_double = nullptr;
    decltype(&sqlite3_column_text) column_text = nullptr;
};
