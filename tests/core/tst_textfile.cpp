#include "FileBytes.h"
#include "FileSizeLimit.h"
#include "TextFile.h"

#include <QtTest>
#include <unistd.h>

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void writesGbkWithCrLfAfterEveryLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("star") << QStringList { "★" } << QByteArray("\xA1\xEF\r\n");
        QTest::newRow("last line too") << QStringList { "a", "b" } << QByteArray("a\r\nb\r\n");
        QTest::newRow("empty lines") << QStringList { "", "x", "" } << QByteArray("\r\nx\r\n\r\n");
        QTest::newRow("no lines") << QStringList() << QByteArray();
        QTest::newRow("chinese") << QStringList { "最快用时纪录" }
                                 << QByteArray("\xD7\xEE\xBF\xEC\xD3\xC3\xCA\xB1\xBC\xCD\xC2\xBC\r\n");
        QTest::newRow("outside GBK") << QStringList { "a😀b" } << QByteArray("a?b\r\n");
    }

    void writesGbkWithCrLfAfterEveryLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QString error;
        QVERIFY2(TextFile::writeLines(path, lines, &error), qPrintable(error));
        QCOMPARE(FileBytes::read(path), bytes);
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList { "a", "b" };
        QTest::newRow("LF alone") << QByteArray("a\nb\n") << QStringList { "a", "b" };
        QTest::newRow("mixed") << QByteArray("a\nb\r\nc\n") << QStringList { "a", "b", "c" };
        QTest::newRow("last unterminated") << QByteArray("a\r\nb") << QStringList { "a", "b" };
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList { "" };
        QTest::newRow("trailing empty line") << QByteArray("a\r\n\r\n") << QStringList { "a", "" };
        QTest::newRow("blanks kept") << QByteArray(" 1 \r\n") << QStringList { " 1 " };
        QTest::newRow("lone CR stays") << QByteArray("a\rb\r\n") << QStringList { "a\rb" };
        QTest::newRow("GBK star") << QByteArray("\xA1\xEF\xA1\xEF\r\n") << QStringList { "★★" };
        QTest::newRow("NUL") << QByteArray("a\0b\r\nc", 6)
                             << QStringList { QString::fromLatin1("a\0b", 3), "c" };
    }

    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QVERIFY(FileBytes::write(path, bytes));
        const std::optional<QStringList> read = TextFile::readLines(path);
        QVERIFY(read);
        QCOMPARE(*read, lines);
    }

    void decodesBytesInMemoryAsFromAFile_data() { reads_data(); }

    void decodesBytesInMemoryAsFromAFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        const std::optional<QStringList> decoded = TextFile::decodeLines(bytes);
        QVERIFY(decoded);
        QCOMPARE(*decoded, lines);
    }

    void brokenCharactersStayInTheirLine()
    {
        // A lead byte without its second byte, bytes GBK never uses.
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QVERIFY(FileBytes::write(path, QByteArray("\xA1\r\nok\r\n\x81\x30\xFF\r\n\xFE\r\nend\r\n")));
        const std::optional<QStringList> read = TextFile::readLines(path);
        QVERIFY(read);
        QCOMPARE(read->size(), 5);
        QVERIFY(!read->at(0).isEmpty());
        QCOMPARE(read->at(1), QStringLiteral("ok"));
        QVERIFY(!read->at(2).isEmpty());
        QVERIFY(!read->at(3).isEmpty());
        QCOMPARE(read->at(4), QStringLiteral("end"));
    }

    void roundTrip()
    {
        const QStringList lines { "[Grade]", "★★★★★", "", " 12 ", "游戏总运行时间：", "00:00:00" };
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QVERIFY(TextFile::writeLines(path, lines));
        QCOMPARE(TextFile::readLines(path).value_or(QStringList { "unreadable" }), lines);
    }

    void unreadableGivesNothing()
    {
        QTemporaryDir dir;
        QVERIFY(!TextFile::readLines(dir.filePath("missing")));
        QVERIFY(!TextFile::readLines(dir.path()));
    }

    void readStopsAtOneMebibyte()
    {
        const int lineBytes = 102; // 100 characters and CR LF
        const QByteArray line = QByteArray(100, 'x') + "\r\n";
        QByteArray bytes;
        while (bytes.size() <= TextFile::kMaxReadBytes)
            bytes += line;
        bytes += "TAIL\r\n";
        QTemporaryDir dir;
        const QString path = dir.filePath("huge");
        QVERIFY(FileBytes::write(path, bytes));
        const std::optional<QStringList> read = TextFile::readLines(path);
        QVERIFY(read);
        const qsizetype whole = TextFile::kMaxReadBytes / lineBytes;
        QCOMPARE(read->size(), whole + 1);
        QVERIFY(!read->contains(QStringLiteral("TAIL")));
        QCOMPARE(read->last().size(), TextFile::kMaxReadBytes - whole * lineBytes);
    }

    void replacesTheWholeFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QVERIFY(FileBytes::write(path, QByteArray(4000, 'o')));
        QVERIFY(TextFile::writeLines(path, { "new" }));
        QCOMPARE(FileBytes::read(path), QByteArray("new\r\n"));
    }

    void missingFolderReportsTheError()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!TextFile::writeLines(dir.filePath("no/such/folder/grade"), { "x" }, &error));
        QVERIFY(!error.isEmpty());
    }

    void readOnlyFolderKeepsTheOldFile()
    {
        if (geteuid() == 0)
            QSKIP("Running as root: permissions do not stop root from writing");
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        const QByteArray old("old\r\n");
        QVERIFY(FileBytes::write(path, old));
        const QFile::Permissions before = QFile::permissions(dir.path());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        QString error;
        const bool written = TextFile::writeLines(path, { "new" }, &error);
        QFile::setPermissions(dir.path(), before);
        QVERIFY(!written);
        QVERIFY(!error.isEmpty());
        QCOMPARE(FileBytes::read(path), old);
    }

    void failingMidWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        const QByteArray old("[Grade]\r\n\xA1\xEF\r\n");
        QVERIFY(FileBytes::write(path, old));
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("line %1 of a file that will not fit").arg(i);
        QString error;
        bool written = true;
        {
            FileSizeLimit limit(256);
            if (!limit.isActive())
                QSKIP("The file size limit cannot be lowered here");
            written = TextFile::writeLines(path, lines, &error);
        }
        QVERIFY(!written);
        QVERIFY(!error.isEmpty());
        QCOMPARE(FileBytes::read(path), old);
        // No half-written temporary file is left beside it either.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "grade" });
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
