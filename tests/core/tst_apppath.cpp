#include "AppPath.h"
#include "FileBytes.h"
#include "GradeFile.h"
#include "ProgramFolder.h"
#include "SaveFile.h"
#include "SettingFile.h"
#include "TextFile.h"
#include "UnwritableFolder.h"

#include <QDir>
#include <QtTest>

namespace {

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QStringList dataFilePaths()
{
    return { SettingFile::path(), GradeFile::path(), SaveFile::path() };
}

QStringList pathsIn(const QString &folder)
{
    return { folder + QStringLiteral("/setting"), folder + QStringLiteral("/grade"),
        folder + QStringLiteral("/save") };
}

} // namespace

// Where the files the game writes go: beside the program while its folder
// takes files, in the user's data folder when it does not.
class TestAppPath : public QObject
{
    Q_OBJECT

private slots:
    void writableProgramFolderKeepsEverything()
    {
        ProgramFolder folder;
        QCOMPARE(AppPath::dataFolder(), folder.path());
        QCOMPARE(AppPath::dataFile(QStringLiteral("\\setting")), folder.file(QStringLiteral("setting")));
        QCOMPARE(dataFilePaths(), pathsIn(folder.path()));
        // The probe cleaned up after itself, and the user's folder was
        // never needed.
        QCOMPARE(entriesOf(folder.path()), QStringList());
        QVERIFY(!QFileInfo::exists(folder.userDataFolder()));
    }

    void readOnlyProgramFolder()
    {
        ProgramFolder folder;
        QVERIFY(folder.put(QStringLiteral("pictures/logo"), "logo"));
        UnwritableFolder readOnly(folder.path());
        if (!readOnly.holds())
            QSKIP("this system lets the test write into a read-only folder");

        QCOMPARE(AppPath::dataFolder(), folder.userDataFolder());
        QVERIFY(QFileInfo(folder.userDataFolder()).isDir());
        QCOMPARE(dataFilePaths(), pathsIn(folder.userDataFolder()));
        // Assets are still read beside the program.
        QCOMPARE(FileBytes::read(AppPath::file(QStringLiteral("\\pictures\\logo"))), QByteArray("logo"));

        QString error;
        QVERIFY2(GradeFile::createDefaultIfMissing(GradeFile::path(), &error), qPrintable(error));
        QStringList setting = SettingFile::defaultLines();
        setting[SettingFile::kFontBold] = QStringLiteral("True");
        QVERIFY2(TextFile::writeLines(SettingFile::path(), setting, &error), qPrintable(error));

        // The next start asks the folder afresh and finds the files again.
        AppPath::setFolder(folder.path());
        QCOMPARE(AppPath::dataFolder(), folder.userDataFolder());
        QVERIFY(SettingFile::isOn(SettingFile::read(SettingFile::path()).at(SettingFile::kFontBold)));
        QCOMPARE(GradeFile::read(GradeFile::path()).finishedCount.toString(), QStringLiteral("0"));
        QCOMPARE(entriesOf(folder.path()), QStringList { QStringLiteral("pictures") });
        QCOMPARE(entriesOf(folder.userDataFolder()), (QStringList { "grade", "setting" }));
    }

    void programFolderThatCannotHoldFiles_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("missing") << QStringLiteral("gone/away");
        // Not even root can make a file below a plain file.
        QTest::newRow("below a file") << QStringLiteral("plain/folder");
    }

    void programFolderThatCannotHoldFiles()
    {
        QFETCH(QString, relative);
        ProgramFolder folder;
        QVERIFY(folder.put(QStringLiteral("plain"), "not a folder"));
        AppPath::setFolder(folder.file(relative));
        QCOMPARE(AppPath::dataFolder(), folder.userDataFolder());
        QVERIFY(QFileInfo(folder.userDataFolder()).isDir());
        QString error;
        QVERIFY2(GradeFile::createDefaultIfMissing(GradeFile::path(), &error), qPrintable(error));
        QVERIFY(QFileInfo::exists(folder.userDataFile(QStringLiteral("grade"))));
    }

    void folderIsProbedOncePerSetting()
    {
        ProgramFolder folder;
        QCOMPARE(AppPath::dataFolder(), folder.path());
        {
            UnwritableFolder readOnly(folder.path());
            if (!readOnly.holds())
                QSKIP("this system lets the test write into a read-only folder");
            // The answer is kept while the folder stays the same.
            QCOMPARE(AppPath::dataFolder(), folder.path());
            AppPath::setFolder(folder.path());
            QCOMPARE(AppPath::dataFolder(), folder.userDataFolder());
        }
        AppPath::setFolder(folder.path());
        QCOMPARE(AppPath::dataFolder(), folder.path());
        // reset() forgets the answer and the test's user folder alike.
        AppPath::reset();
        QVERIFY(AppPath::userDataFolder() != folder.userDataFolder());
        QVERIFY(AppPath::userDataFolder().endsWith(QStringLiteral("/vexa-sudoku")));
    }

    void fallbackThatCannotBeMadeReportsTheFailure()
    {
        ProgramFolder folder;
        QVERIFY(folder.put(QStringLiteral("plain"), "not a folder"));
        AppPath::setFolder(folder.file(QStringLiteral("gone")));
        AppPath::setUserDataFolder(folder.file(QStringLiteral("plain/vexa-sudoku")));
        QCOMPARE(AppPath::dataFolder(), folder.file(QStringLiteral("plain/vexa-sudoku")));
        QString error;
        QVERIFY(!GradeFile::createDefaultIfMissing(GradeFile::path(), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAppPath)
#include "tst_apppath.moc"
