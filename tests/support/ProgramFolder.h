#pragma once

#include "BankBuilder.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary program folder for one test: empty, or a copy of the built
// program's runtime files. The game's program folder points at it while
// the object lives, and the user's data folder at another temporary
// folder, so that a test never writes into the real home.
class ProgramFolder
{
public:
    enum class Content { Empty, CopyOfBuild };

    explicit ProgramFolder(Content content = Content::Empty);
    ~ProgramFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    bool isValid() const { return m_dir.isValid() && m_home.isValid(); }

    // Puts a file in place, in a folder made for it if need be, replacing
    // what was there: these bytes, or a copy of a fixture (named as
    // fixture() names it). False when that failed.
    bool put(const QString &relative, const QByteArray &bytes) const;
    bool putFixture(const QString &relative, const QString &fixtureName) const;

    // Where the game looks for its puzzle bank, and a bank of these
    // puzzles put there, locked with the game's password. Throws AdoError.
    QString bankFile() const { return file(QStringLiteral("problem/problem.dbs")); }
    void putBank(const QList<BankBuilder::Entry> &entries) const;

    // Where the game's files go when the program folder takes none; not
    // made until the game needs it.
    QString userDataFolder() const { return m_home.filePath(QStringLiteral("vexa-sudoku")); }
    QString userDataFile(const QString &relative) const
    {
        return userDataFolder() + QLatin1Char('/') + relative;
    }

    // Where the game keeps its rendered tunes; not made until needed.
    QString cacheFolder() const { return m_home.filePath(QStringLiteral("cache/vexa-sudoku")); }

    // The built program's folder and the tests' fixture folder.
    static QString buildFolder();
    static QString fixture(const QString &relative);

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_home;
};
