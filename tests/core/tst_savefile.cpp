#include "BoardColors.h"
#include "FileBytes.h"
#include "ProgramFolder.h"
#include "SaveFile.h"

#include <QLocale>
#include <QtTest>

namespace {

// Puzzle 3 of the bank, as the fixtures under save/ hold it.
const char kGrid[] = "471865932923174658856932174392741586147658329685329741239417865568293417714586293";

// The board of the fixtures: a wrong digit marked red in cell 40, empty
// player cells, digits the player typed and given digits.
SaveFile::Contents fixtureBoard()
{
    SaveFile::Contents c;
    c.id = QStringLiteral("3");
    c.savedTime = QStringLiteral("00:10:00");
    c.difficulty = QStringLiteral("Medium");
    for (int i = 0; i < 81; ++i) {
        const int solution = kGrid[i] - '0';
        auto &number = c.number[std::size_t(i)];
        auto &color = c.color[std::size_t(i)];
        if (i == 40) {
            number = qint16(solution % 9 + 1);
            color = BoardColors::kWrong;
        } else if (i % 4 == 1) {
            number = 0;
            color = BoardColors::kPlayer;
        } else {
            number = qint16(solution);
            color = i % 7 == 2 ? BoardColors::kPlayer : BoardColors::kGiven;
        }
    }
    return c;
}

void compareContents(const SaveFile::Contents &actual, const SaveFile::Contents &expected)
{
    QCOMPARE(actual.id, expected.id);
    QCOMPARE(actual.savedTime, expected.savedTime);
    QCOMPARE(actual.difficulty, expected.difficulty);
    QCOMPARE(actual.number, expected.number);
    QCOMPARE(actual.color, expected.color);
}

} // namespace

class TestSaveFile : public QObject
{
    Q_OBJECT

private slots:
    void writesEightyFiveLines()
    {
        SaveFile::Contents c;
        c.id = QStringLiteral("7");
        c.savedTime = QStringLiteral("00:12:34");
        c.difficulty = QStringLiteral("Hard");
        c.number[0] = 5; // given
        c.number[7] = 0; // empty player cell
        c.color[7] = BoardColors::kPlayer;
        c.number[12] = 0;
        c.color[12] = BoardColors::kPlayer;
        c.number[33] = 4; // typed by the player
        c.color[33] = BoardColors::kPlayer;
        c.number[40] = 2; // found wrong by a check
        c.color[40] = BoardColors::kWrong;
        c.number[80] = 9;
        const QDate today(2026, 12, 8);
        const QStringList lines = SaveFile::lines(c, today);

        QCOMPARE(lines.size(), 85);
        QCOMPARE(lines.at(0), QStringLiteral(" 7 "));
        QCOMPARE(lines.at(1), QStringLiteral("00:12:34"));
        QCOMPARE(lines.at(2), QStringLiteral("Hard"));
        QCOMPARE(lines.at(3), QStringLiteral("00,5,0"));
        QCOMPARE(lines.at(4), QStringLiteral("01,0,0"));
        QCOMPARE(lines.at(3 + 7), QStringLiteral("07,0,50232"));
        QCOMPARE(lines.at(3 + 9), QStringLiteral("09,0,0"));
        QCOMPARE(lines.at(3 + 12), QStringLiteral("12,0,50232"));
        QCOMPARE(lines.at(3 + 33), QStringLiteral("33,4,50232"));
        QCOMPARE(lines.at(3 + 40), QStringLiteral("40,2,255"));
        QCOMPARE(lines.at(83), QStringLiteral("80,9,0"));
        QCOMPARE(lines.at(84), QLocale::system().toString(today, QLocale::ShortFormat));
        // Every cell line carries its own index, in order.
        for (int i = 0; i < 81; ++i)
            QVERIFY2(lines.at(3 + i).startsWith(QStringLiteral("%1,").arg(i, 2, 10, QLatin1Char('0'))),
                qPrintable(lines.at(3 + i)));
    }

    void fileIsGbkTextWithCrLfAfterEveryLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("save"));
        QString error;
        QVERIFY2(SaveFile::write(path, fixtureBoard(), QDate(2026, 12, 8), &error), qPrintable(error));
        const QByteArray bytes = FileBytes::read(path);
        QVERIFY(bytes.startsWith(" 3 \r\n00:10:00\r\nMedium\r\n00,4,0\r\n01,0,50232\r\n02,1,50232\r\n"));
        QVERIFY(bytes.contains("\r\n40,6,255\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), 85);
        QCOMPARE(bytes.count('\n'), 85);
    }

    void idLine_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("line");
        QTest::newRow("5") << "5"
                           << " 5 ";
        QTest::newRow("12") << "12"
                            << " 12 ";
        QTest::newRow("read back with blanks") << " 7 "
                                               << " 7 ";
        QTest::newRow("leading zeros") << "007"
                                       << " 7 ";
        QTest::newRow("fraction cut") << "8.9"
                                      << " 8 ";
        QTest::newRow("text after the number") << "4abc"
                                               << " 4 ";
        QTest::newRow("no number") << "abc"
                                   << " 0 ";
        QTest::newRow("empty") << ""
                               << " 0 ";
        QTest::newRow("negative") << "-3"
                                  << "-3 ";
    }

    void idLine()
    {
        QFETCH(QString, id);
        QFETCH(QString, line);
        QCOMPARE(SaveFile::idLine(id), line);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("readId");
        QTest::newRow("5") << "5"
                           << "5";
        QTest::newRow("12") << "12"
                            << "12";
        QTest::newRow("blanks around") << " 6 "
                                       << "6";
    }

    void roundTrip()
    {
        QFETCH(QString, id);
        QFETCH(QString, readId);
        SaveFile::Contents written = fixtureBoard();
        written.id = id;
        written.difficulty = QStringLiteral("Easy");
        QString why;
        const auto read = SaveFile::parse(SaveFile::lines(written, QDate(2026, 1, 31)), &why);
        QVERIFY2(read, qPrintable(why));
        written.id = readId;
        compareContents(*read, written);
    }

    void roundTripThroughTheDisk()
    {
        ProgramFolder folder;
        QCOMPARE(SaveFile::path(), folder.path() + QStringLiteral("/save"));
        QString error;
        QVERIFY2(
            SaveFile::write(SaveFile::path(), fixtureBoard(), QDate(2026, 12, 8), &error), qPrintable(error));
        QString why;
        const auto read = SaveFile::read(SaveFile::path(), &why);
        QVERIFY2(read, qPrintable(why));
        compareContents(*read, fixtureBoard());
    }

    void fixtures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readable");
        QTest::newRow("valid") << "valid.save" << true;
        QTest::newRow("LF line ends") << "lf-only.save" << true;
        QTest::newRow("no final line break") << "no-final-break.save" << true;
        QTest::newRow("no date line") << "without-date.save" << true;
        QTest::newRow("missing") << "missing.save" << false;
        QTest::newRow("empty") << "empty.save" << false;
        QTest::newRow("40 lines") << "short.save" << false;
        QTest::newRow("86 lines") << "extra-line.save" << false;
        QTest::newRow("10,000 lines") << "ten-thousand-lines.save" << false;
        QTest::newRow("letters for the number") << "letters-in-id.save" << false;
        QTest::newRow("number 0") << "zero-id.save" << false;
        QTest::newRow("time 25:99:00") << "bad-time.save" << false;
        QTest::newRow("letter for a digit") << "letters-in-cell.save" << false;
        QTest::newRow("digit above 9") << "digit-above-nine.save" << false;
        QTest::newRow("missing comma") << "missing-comma.save" << false;
        QTest::newRow("colour 16711680") << "colour-blue.save" << false;
        QTest::newRow("colour 65280") << "colour-green.save" << false;
        QTest::newRow("binary bytes in a cell") << "binary-in-cell.save" << false;
        QTest::newRow("random bytes") << "binary.save" << false;
    }

    void fixtures()
    {
        QFETCH(QString, name);
        QFETCH(bool, readable);
        QString why;
        const auto read = SaveFile::read(ProgramFolder::fixture(QStringLiteral("save/") + name), &why);
        QCOMPARE(bool(read), readable);
        if (readable)
            compareContents(*read, fixtureBoard());
        else
            QVERIFY(!why.isEmpty());
    }

    void cellLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("color");
        // A number of -1 marks a line that makes the file unreadable.
        QTest::newRow("given") << "00,5,0" << 5 << 0;
        QTest::newRow("empty player cell") << "00,0,50232" << 0 << 50232;
        QTest::newRow("red") << "00,3,255" << 3 << 255;
        QTest::newRow("index is not checked") << "99,3,0" << 3 << 0;
        QTest::newRow("one-digit index") << "0,5,0" << -1 << -1;
        QTest::newRow("three-digit index") << "000,5,0" << -1 << -1;
        QTest::newRow("blank after colour") << "00,5,0 " << -1 << -1;
        QTest::newRow("blank before index") << " 00,5,0" << -1 << -1;
        QTest::newRow("colour missing") << "00,5," << -1 << -1;
        QTest::newRow("negative colour") << "00,5,-1" << -1 << -1;
        QTest::newRow("six colour digits") << "00,0,502320" << -1 << -1;
        QTest::newRow("red hidden in a longer number") << "00,0,2550" << -1 << -1;
        QTest::newRow("fullwidth digit") << QStringLiteral("00,\uFF15,0") << -1 << -1;
    }

    void cellLines()
    {
        QFETCH(QString, line);
        QFETCH(int, number);
        QFETCH(int, color);
        QStringList lines = SaveFile::lines(fixtureBoard(), QDate(2026, 12, 8));
        lines[3] = line;
        QString why;
        const auto read = SaveFile::parse(lines, &why);
        QCOMPARE(bool(read), number >= 0);
        if (!read) {
            QVERIFY(why.contains(QStringLiteral("第 4 行")));
            return;
        }
        QCOMPARE(read->number[0], qint16(number));
        QCOMPARE(read->color[0], qint32(color));
    }

    void firstLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("id");
        // An empty id marks a line that makes the file unreadable.
        QTest::newRow("as written") << " 7 "
                                    << "7";
        QTest::newRow("no blanks") << "7"
                                   << "7";
        QTest::newRow("leading zeros") << " 007 "
                                       << "7";
        QTest::newRow("two digits") << " 12 "
                                    << "12";
        QTest::newRow("letters") << " abc "
                                 << "";
        QTest::newRow("letters after digits") << " 7x "
                                              << "";
        QTest::newRow("quote") << " 7' or '1'='1 "
                               << "";
        QTest::newRow("fraction") << " 7.5 "
                                  << "";
        QTest::newRow("negative") << "-7 "
                                  << "";
        QTest::newRow("zero") << " 0 "
                              << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("too large") << " 99999999999999999999999 "
                                   << "";
    }

    void firstLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, id);
        QStringList lines = SaveFile::lines(fixtureBoard(), QDate(2026, 12, 8));
        lines[0] = line;
        QString why;
        const auto read = SaveFile::parse(lines, &why);
        QCOMPARE(bool(read), !id.isEmpty());
        if (read)
            QCOMPARE(read->id, id);
    }

    void secondAndThirdLinesAreTakenWhole()
    {
        QStringList lines = SaveFile::lines(fixtureBoard(), QDate(2026, 12, 8));
        lines[1] = QStringLiteral(" 01:02:03 ");
        lines[2] = QStringLiteral("hard ");
        QString why;
        const auto read = SaveFile::parse(lines, &why);
        QVERIFY2(read, qPrintable(why));
        QCOMPARE(read->savedTime, QStringLiteral(" 01:02:03 "));
        QCOMPARE(read->difficulty, QStringLiteral("hard "));
    }
};

QTEST_GUILESS_MAIN(TestSaveFile)
#include "tst_savefile.moc"
