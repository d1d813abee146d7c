#include "ProgramFolder.h"

#include "AppPath.h"
#include "FileBytes.h"
#include "ModuleGetNumber.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

ProgramFolder::ProgramFolder(Content content)
{
    if (content == Content::CopyOfBuild) {
        const QDir source(buildFolder());
        QDirIterator it(source.path(), QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString rel = source.relativeFilePath(from);
            // The executable is not needed to run the game's logic, and
            // files a played game left in the build folder (its tunes'
            // cache among them) are not the program's.
            if (rel == QLatin1String("vexa-sudoku") || rel == QLatin1String("setting")
                || rel == QLatin1String("grade") || rel == QLatin1String("save")
                || rel.startsWith(QLatin1String("cache/")))
                continue;
            QDir().mkpath(QFileInfo(m_dir.filePath(rel)).absolutePath());
            QFile::copy(from, m_dir.filePath(rel));
        }
    }
    AppPath::setFolder(m_dir.path());
    AppPath::setUserDataFolder(userDataFolder());
    AppPath::setCacheFolder(cacheFolder());
}

ProgramFolder::~ProgramFolder()
{
    AppPath::reset();
}

QString ProgramFolder::buildFolder()
{
    return qEnvironmentVariable("VEXA_TEST_BIN");
}

QString ProgramFolder::fixture(const QString &relative)
{
    return qEnvironmentVariable("VEXA_TEST_FIXTURES") + QLatin1Char('/') + relative;
}

bool ProgramFolder::put(const QString &relative, const QByteArray &bytes) const
{
    return QDir().mkpath(QFileInfo(file(relative)).absolutePath()) && FileBytes::write(file(relative), bytes);
}

bool ProgramFolder::putFixture(const QString &relative, const QString &fixtureName) const
{
    QFile::remove(file(relative));
    return QDir().mkpath(QFileInfo(file(relative)).absolutePath())
        && QFile::copy(fixture(fixtureName), file(relative));
}

void ProgramFolder::putBank(const QList<BankBuilder::Entry> &entries) const
{
    QDir().mkpath(QFileInfo(bankFile()).absolutePath());
    BankBuilder::write(bankFile(), ModuleGetNumber::bankPassword(), entries);
}
