#pragma once

#include <QString>

struct sqlite3;

// The connection to the puzzle bank, with the few operations the game uses.
// The bank is an SQLCipher file; its password and location come out of the
// connection string the game hands over.
class AdoConnection
{
public:
    // The key-derivation rounds of the bank. The bank tool writes with the
    // same number; it keeps opening the bank well under a frame's budget.
    static constexpr int kKdfIterations = 4000;
    static constexpr const char *kProvider = "Microsoft.Jet.OLEDB.4.0";

    AdoConnection() = default;
    ~AdoConnection();
    AdoConnection(const AdoConnection &) = delete;
    AdoConnection &operator=(const AdoConnection &) = delete;

    // Throws AdoError with the failure's own description. An open
    // connection must be closed before it is opened again.
    void Open(const QString &connectionString, const QString &user = QString(),
        const QString &password = QString(), int options = -1);
    void Close();
    int State() const { return m_db ? 1 : 0; }

    sqlite3 *handle() const { return m_db; }

    // Opens (creating it when asked) an SQLCipher file with a password and
    // checks that the key fits. Shared with the tool that builds the bank.
    static sqlite3 *openKeyed(const QString &path, const QString &password, bool create);

private:
    sqlite3 *m_db = nullptr;
};
