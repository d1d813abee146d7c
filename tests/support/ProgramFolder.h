#pragma once

#include <QString>
#include <QTemporaryDir>

// A temporary program folder for one test: empty, or a copy of the built
// program's runtime files. The game's program folder points at it while
// the object lives.
class ProgramFolder
{
public:
    enum class Content { Empty, CopyOfBuild };

    explicit ProgramFolder(Content content = Content::Empty);
    ~ProgramFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    bool isValid() const { return m_dir.isValid(); }

    // The built program's folder and the tests' fixture folder.
    static QString buildFolder();
    static QString fixture(const QString &relative);

private:
    QTemporaryDir m_dir;
};
