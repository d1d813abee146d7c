#include "AdoError.h"
#include "BankBuilder.h"
#include "SudokuGrid.h"

#include <QtTest>

namespace {
const QString kValid = QStringLiteral(
    "921684735\n375129468\n648573912\n219468573\n486357291\n753912846\n537291684\n864735129\n192846357\n");

QString withCell(const QString &grid, int index, QChar digit)
{
    QString g = grid;
    int n = 0;
    for (qsizetype i = 0; i < g.size(); ++i) {
        if (g.at(i).isDigit() && n++ == index) {
            g[i] = digit;
            break;
        }
    }
    return g;
}

QString swapCells(const QString &grid, int a, int b)
{
    const auto cells = *SudokuGrid::parse(grid);
    QString g = withCell(grid, a, QChar('0' + cells[std::size_t(b)]));
    return withCell(g, b, QChar('0' + cells[std::size_t(a)]));
}
} // namespace

class TestSudokuGrid : public QObject
{
    Q_OBJECT

private slots:
    void judgesSolutions_data()
    {
        QTest::addColumn<QString>("grid");
        QTest::addColumn<bool>("valid");
        QTest::newRow("valid") << kValid << true;
        QTest::newRow("zero") << withCell(kValid, 40, QLatin1Char('0')) << false;
        QTest::newRow("repeated in a row") << withCell(kValid, 0, QLatin1Char('2')) << false;
        // Swapping within a row keeps rows whole but breaks columns.
        QTest::newRow("columns broken") << swapCells(kValid, 0, 1) << false;
        // Swapping two whole columns across boxes keeps rows and columns
        // whole but breaks the boxes.
        QString g = kValid;
        for (int r = 0; r < 9; ++r)
            g = swapCells(g, r * 9 + 2, r * 9 + 3);
        QTest::newRow("boxes broken") << g << false;
    }

    void judgesSolutions()
    {
        QFETCH(QString, grid);
        QFETCH(bool, valid);
        const auto cells = SudokuGrid::parse(grid);
        QVERIFY(cells.has_value());
        QString why;
        QCOMPARE(SudokuGrid::isValidSolution(*cells, &why), valid);
        QCOMPARE(why.isEmpty(), valid);
    }

    void parsesOnlyEightyOneDigits()
    {
        QVERIFY(SudokuGrid::parse(kValid).has_value());
        QVERIFY(!SudokuGrid::parse(kValid + QStringLiteral("1")).has_value());
        QVERIFY(!SudokuGrid::parse(kValid.left(kValid.size() - 2)).has_value());
        QVERIFY(!SudokuGrid::parse(withCell(kValid, 3, QLatin1Char('x'))).has_value());
    }

    void bankSourceRefusesBadGrids_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("fault");
        QTest::newRow("invalid grid")
            << QStringLiteral("[1]\n") + withCell(kValid, 0, QLatin1Char('2')) << "not a valid solution";
        QTest::newRow("short grid") << QStringLiteral("[1]\n123456789\n") << "81 digits";
        QTest::newRow("repeated id") << QStringLiteral("[1]\n") + kValid + QStringLiteral("[1]\n") + kValid
                                     << "repeated";
        QTest::newRow("digits before id") << kValid << "before the first";
    }

    void bankSourceRefusesBadGrids()
    {
        QFETCH(QString, source);
        QFETCH(QString, fault);
        try {
            BankBuilder::parseSource(source);
            QFAIL("accepted");
        } catch (const AdoError &e) {
            QVERIFY2(e.description().contains(fault), qPrintable(e.description()));
        }
    }

    void bankSourceReadsIdsAndGrids()
    {
        const auto entries = BankBuilder::parseSource(
            QStringLiteral("# comment\n[7]\n") + kValid + QStringLiteral("\n[8]\n") + kValid);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).id, QStringLiteral("7"));
        QCOMPARE(entries.at(1).finished, QStringLiteral("false"));
        QCOMPARE(entries.at(1).cells[0], 9);
    }
};

QTEST_GUILESS_MAIN(TestSudokuGrid)
#include "tst_sudokugrid.moc"
