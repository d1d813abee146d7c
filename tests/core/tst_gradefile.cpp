#include "FileBytes.h"
#include "GradeFile.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QtTest>

namespace {
const QByteArray kDefaultFile("[LastFinishedTime]\r\n00:00:00\r\n\r\n"
                              "[FastestTime]\r\n00:00:00\r\n\r\n"
                              "[TotalTime]\r\n00:00:00\r\n\r\n"
                              "[FinishedCount]\r\n0\r\n\r\n"
                              "[Grade]\r\n\xA1\xEF\r\n");

QStringList texts(const GradeFile::Values &v)
{
    return { GradeFile::valueText(v.lastFinishedTime), GradeFile::valueText(v.fastestTime),
        GradeFile::valueText(v.totalTime), GradeFile::valueText(v.finishedCount), v.grade };
}

// A null entry marks a garbled line: it must be read as something, and
// not be replaced by the default.
const QString kGarbled;
} // namespace

class TestGradeFile : public QObject
{
    Q_OBJECT

private slots:
    void defaultFileByteForByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QString error;
        QVERIFY2(GradeFile::createDefaultIfMissing(path, &error), qPrintable(error));
        QCOMPARE(FileBytes::read(path), kDefaultFile);
    }

    void existingFileIsNotReplacedByDefaults()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QVERIFY(TextFile::writeLines(path, { "[LastFinishedTime]", "00:01:02" }));
        const QByteArray before = FileBytes::read(path);
        QVERIFY(GradeFile::createDefaultIfMissing(path));
        QCOMPARE(FileBytes::read(path), before);
    }

    void fileLiesInTheProgramFolder()
    {
        ProgramFolder folder;
        QCOMPARE(GradeFile::path(), folder.path() + QStringLiteral("/grade"));
    }

    void valueText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("count 1") << QVariant(1) << " 1 ";
        QTest::newRow("count 0") << QVariant(0) << " 0 ";
        QTest::newRow("short") << QVariant::fromValue(qint16(7)) << " 7 ";
        QTest::newRow("long long") << QVariant(qlonglong(12345)) << " 12345 ";
        QTest::newRow("unsigned") << QVariant(4u) << " 4 ";
        QTest::newRow("whole double") << QVariant(3.0) << " 3 ";
        QTest::newRow("fraction") << QVariant(2.5) << " 2.5 ";
        QTest::newRow("negative") << QVariant(-2) << "-2 ";
        QTest::newRow("text 0") << QVariant(QStringLiteral("0")) << "0";
        QTest::newRow("text with blanks") << QVariant(QStringLiteral(" 1 ")) << " 1 ";
        QTest::newRow("time text") << QVariant(QStringLiteral("00:03:21")) << "00:03:21";
        QTest::newRow("nothing") << QVariant() << "";
    }

    void valueText()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(GradeFile::valueText(value), text);
    }

    void countedFinishIsWrittenInPrintFormat()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        GradeFile::Values v = GradeFile::defaults();
        v.finishedCount = v.finishedCount.toString().toInt() + 1;
        QVERIFY(GradeFile::write(path, v));
        QByteArray expected = kDefaultFile;
        expected.replace("[FinishedCount]\r\n0\r\n", "[FinishedCount]\r\n 1 \r\n");
        QCOMPARE(FileBytes::read(path), expected);
        // Read back it is the text, written unchanged the next time.
        const GradeFile::Values again = GradeFile::read(path);
        QCOMPARE(again.finishedCount.toString(), QStringLiteral(" 1 "));
        QVERIFY(GradeFile::write(path, again));
        QCOMPARE(FileBytes::read(path), expected);
    }

    void reads_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("values");
        const QStringList defaults { "00:00:00", "00:00:00", "00:00:00", "0", "★" };
        QTest::newRow("missing") << "missing.grade" << defaults;
        QTest::newRow("empty") << "empty.grade" << defaults;
        QTest::newRow("short") << "short.grade"
                               << QStringList { "00:03:21", "00:02:10", "00:00:00", "0", "★" };
        QTest::newRow("LF only") << "lf-only.grade"
                                 << QStringList { "12:34:56", "00:05:00", "03:00:00", " 7 ", "★★★" };
        QTest::newRow("misspelled keys")
            << "misspelled-keys.grade" << QStringList { "01:02:03", "00:00:59", "10:00:00", "2", "★★" };
        QTest::newRow("binary") << "binary.grade"
                                << QStringList { kGarbled, "00:00:00", "00:00:00", "0", "★" };
        QTest::newRow("not GBK") << "not-gbk.grade"
                                 << QStringList { kGarbled, "00:01:00", kGarbled, " 3 ", kGarbled };
    }

    void reads()
    {
        QFETCH(QString, fixture);
        QFETCH(QStringList, values);
        const QStringList read = texts(GradeFile::read(ProgramFolder::fixture("grade/" + fixture)));
        const QStringList defaults = texts(GradeFile::defaults());
        QCOMPARE(read.size(), values.size());
        for (int k = 0; k < values.size(); ++k) {
            if (values.at(k).isNull()) {
                QVERIFY2(
                    !read.at(k).isEmpty() && read.at(k) != defaults.at(k), qPrintable(QString::number(k)));
            } else {
                QCOMPARE(read.at(k), values.at(k));
            }
        }
    }

    void binaryLineIsTakenWithItsNulBytes()
    {
        const GradeFile::Values v = GradeFile::read(ProgramFolder::fixture("grade/binary.grade"));
        QVERIFY(v.lastFinishedTime.toString().contains(QChar(0)));
    }

    void linesAfterTheGradeAreIgnored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        QStringList lines;
        for (int n = 1; n <= 20; ++n)
            lines << QStringLiteral("line %1").arg(n);
        QVERIFY(TextFile::writeLines(path, lines));
        QCOMPARE(texts(GradeFile::read(path)),
            (QStringList { "line 2", "line 5", "line 8", "line 11", "line 14" }));
    }

    void rewritesAWellFormedFile_data()
    {
        QTest::addColumn<QString>("fixture");
        for (const char *name : { "empty.grade", "short.grade", "lf-only.grade", "misspelled-keys.grade",
                 "binary.grade", "not-gbk.grade" })
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void rewritesAWellFormedFile()
    {
        QFETCH(QString, fixture);
        QTemporaryDir dir;
        const QString path = dir.filePath("grade");
        const GradeFile::Values read = GradeFile::read(ProgramFolder::fixture("grade/" + fixture));
        QVERIFY(GradeFile::write(path, read));

        const QByteArray bytes = FileBytes::read(path);
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = bytes.chopped(2).split('\n');
        QCOMPARE(lines.size(), GradeFile::kLineCount);
        for (int n = 0; n + 1 < lines.size(); ++n)
            QVERIFY(lines.at(n).endsWith('\r'));
        const QList<QByteArray> keys { "[LastFinishedTime]\r", "[FastestTime]\r", "[TotalTime]\r",
            "[FinishedCount]\r", "[Grade]\r" };
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(lines.at(k * 3), keys.at(k));
            if (k < 4)
                QCOMPARE(lines.at(k * 3 + 2), QByteArray("\r"));
        }

        // From then on the file is stable: reading and writing changes nothing.
        QVERIFY(GradeFile::write(path, GradeFile::read(path)));
        QCOMPARE(FileBytes::read(path), bytes);
    }
};

QTEST_GUILESS_MAIN(TestGradeFile)
#include "tst_gradefile.moc"
