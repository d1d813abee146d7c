#include "FileBytes.h"
#include "GameState.h"
#include "ModuleSaveFiles.h"
#include "ProgramFolder.h"
#include "ScriptedMessages.h"

#include <QtTest>

namespace { } // namespace

class TestSaveGrade : public QObject
{
    Q_OBJECT

private slots:
    void writesTheStateAsHeld_data()
    {
        QTest::addColumn<QVariant>("count");
        QTest::addColumn<QByteArray>("countLine");
        // Counted by the game: a number, in the print format.
        QTest::newRow("counted to 1") << QVariant(1) << QByteArray(" 1 ");
        QTest::newRow("counted to 12") << QVariant(qlonglong(12)) << QByteArray(" 12 ");
        QTest::newRow("counted as double") << QVariant(3.0) << QByteArray(" 3 ");
        // Still the text read from the file: written unchanged.
        QTest::newRow("default text") << QVariant(QStringLiteral("0")) << QByteArray("0");
        QTest::newRow("text read back") << QVariant(QStringLiteral(" 1 ")) << QByteArray(" 1 ");
    }

    void writesTheStateAsHeld()
    {
        QFETCH(QVariant, count);
        QFETCH(QByteArray, countLine);
        ProgramFolder folder;
        GameState form;
        form.strLastFinishedTime = QStringLiteral("00:03:21");
        form.strFastestTime = QStringLiteral("00:02:10");
        form.strTotalTime = QStringLiteral("01:00:00");
        form.strFinishedCount = count;
        form.strGrade = QStringLiteral("★★");
        ScriptedMessages messages;
        QString error;
        QVERIFY2(ModuleSaveFiles::SaveGrade(form, &error), qPrintable(error));
        QCOMPARE(FileBytes::read(folder.file("grade")),
            QByteArray("[LastFinishedTime]\r\n00:03:21\r\n\r\n[FastestTime]\r\n00:02:10\r\n\r\n"
                       "[TotalTime]\r\n01:00:00\r\n\r\n[FinishedCount]\r\n")
                + countLine + QByteArray("\r\n\r\n[Grade]\r\n\xA1\xEF\xA1\xEF\r\n"));
        QCOMPARE(messages.count(), 0);
    }

    void failureIsReportedNotShown()
    {
        ProgramFolder folder;
        // A folder where the file should be cannot be replaced by a file.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("grade")));
        GameState form;
        form.strTotalTime = QStringLiteral("00:00:05");
        ScriptedMessages messages;
        QString error;
        QVERIFY(!ModuleSaveFiles::SaveGrade(form, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(messages.count(), 0);
        QVERIFY(QFileInfo(folder.file("grade")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestSaveGrade)
#include "tst_savegrade.moc"
