#include "AdoConnection.h"
#include "AdoError.h"
#include "AppPath.h"
#include "BankBuilder.h"
#include "GameState.h"
#include "ModuleGetNumber.h"
#include "ProgramFolder.h"
#include "RandomSource.h"
#include "ScriptedMessages.h"
#include "SqliteLibrary.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QtTest>

namespace {

SudokuGrid::Cells grid(int shift)
{
    // A valid solution for any shift: a relabelled pattern grid.
    SudokuGrid::Cells c {};
    for (int r = 0; r < 9; ++r)
        for (int col = 0; col < 9; ++col)
            c[std::size_t(r * 9 + col)] = ((3 * (r % 3) + r / 3 + col + shift) % 9) + 1;
    return c;
}

QList<BankBuilder::Entry> entries(const QStringList &ids, const QString &finished = QStringLiteral("false"))
{
    QList<BankBuilder::Entry> list;
    int shift = 0;
    for (const QString &id : ids)
        list.append({ id, finished, grid(shift++) });
    return list;
}

// The identifiers the draw picks from.
const QStringList kDrawnIds { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
    QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8") };

} // namespace

class TestBank : public QObject
{
    Q_OBJECT

private slots:
    void init() { RandomSource::setState(0x50000); }

    void drawFindsExactlyTheDrawnId()
    {
        ProgramFolder folder;
        folder.putBank(entries(
            kDrawnIds + QStringList { QStringLiteral("12"), QStringLiteral("21"), QStringLiteral("1 ") }));
        ScriptedMessages messages;
        GameState form;
        ModuleGetNumber bank(form);
        QSet<QString> drawn;
        for (int n = 0; n < 200; ++n) {
            RandomSource::randomizeFromClock();
            bank.GetNumber();
            QCOMPARE(bank.rsProblem.State(), 1);
            QCOMPARE(bank.rsProblem.RecordCount(), 1);
            const QString id = bank.rsProblem.Fields(QStringLiteral("ID")).toString();
            QVERIFY2(
                bank.strProblemSql == QStringLiteral("select * from [Problem] where [ID] like '%1'").arg(id),
                qPrintable(bank.strProblemSql));
            drawn.insert(id);
        }
        QCOMPARE(messages.count(), 0);
        // Every identifier 1..8 comes up, and nothing else ever matches.
        QCOMPARE(drawn, QSet<QString>(kDrawnIds.cbegin(), kDrawnIds.cend()));
    }

    void recordHoldsTheGridByFieldName()
    {
        ProgramFolder folder;
        folder.putBank(entries(kDrawnIds));
        GameState form;
        ModuleGetNumber bank(form);
        bank.GetNumber();
        const int id = bank.rsProblem.Fields(QStringLiteral("ID")).toInt();
        const auto expected = grid(id - 1);
        for (int i = 0; i < 81; ++i)
            QCOMPARE(bank.rsProblem.Fields(QStringLiteral("l(%1)").arg(i)).toInt(), expected[std::size_t(i)]);
        // Field names are not case-sensitive; unknown names fail.
        QCOMPARE(bank.rsProblem.Fields(QStringLiteral("L(80)")).toInt(), expected[80]);
        QCOMPARE(bank.rsProblem.Fields(QStringLiteral("finished")).toString(), QStringLiteral("false"));
        QVERIFY_THROWS_EXCEPTION(AdoError, bank.rsProblem.Fields(QStringLiteral("l(81)")));
    }

    void bankWithoutTheDrawnIdGivesAnOpenEmptyResult()
    {
        ProgramFolder folder;
        folder.putBank(entries({ QStringLiteral("12") }));
        ScriptedMessages messages;
        GameState form;
        ModuleGetNumber bank(form);
        bank.GetNumber();
        QCOMPARE(messages.count(), 0);
        QCOMPARE(bank.rsProblem.State(), 1);
        QCOMPARE(bank.rsProblem.RecordCount(), 0);
        QVERIFY(bank.rsProblem.Bof());
        QVERIFY(bank.rsProblem.Eof());
        QVERIFY_THROWS_EXCEPTION(AdoError, bank.rsProblem.MoveFirst());
        QVERIFY_THROWS_EXCEPTION(AdoError, bank.rsProblem.Fields(QStringLiteral("ID")));
    }

    void brokenBankIsReportedOnceAndLeavesTheResultClosed_data()
    {
        // The causes a player meets, each told in Chinese after the prefix.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("description");
        QTest::newRow("missing file") << "missing"
                                      << "找不到题库文件“%1”。";
        QTest::newRow("wrong password") << "password"
                                        << "这个文件不是题库，或者题库的密码不对。";
        QTest::newRow("text file posing as the bank") << "text"
                                                      << "这个文件不是题库，或者题库的密码不对。";
        QTest::newRow("empty file") << "empty"
                                    << "这个文件里没有题目表，不是本游戏的题库。";
        QTest::newRow("no Problem table") << "notable"
                                          << "这个文件里没有题目表，不是本游戏的题库。";
        QTest::newRow("damaged file") << "damaged"
                                      << "题库文件已损坏。";
    }

    void brokenBankIsReportedOnceAndLeavesTheResultClosed()
    {
        QFETCH(QString, kind);
        QFETCH(QString, description);
        ProgramFolder folder;
        QDir(folder.path()).mkpath(QStringLiteral("problem"));
        const QString path = folder.bankFile();
        if (kind == QLatin1String("password")) {
            BankBuilder::write(path, QStringLiteral("not-the-password"), entries({ QStringLiteral("1") }));
        } else if (kind == QLatin1String("text")) {
            QVERIFY(folder.putFixture(
                QStringLiteral("problem/problem.dbs"), QStringLiteral("bank/text-posing-as-bank.dbs")));
        } else if (kind == QLatin1String("empty")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == QLatin1String("notable")) {
            // A keyed file whose table was never made.
            SqliteLibrary::get()->close(
                AdoConnection::openKeyed(path, ModuleGetNumber::bankPassword(), true));
        } else if (kind == QLatin1String("damaged")) {
            // A bank whose last page, where the records lie, was overwritten.
            folder.putBank(entries(kDrawnIds));
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.size() > 2048);
            QVERIFY(f.seek(f.size() - 512));
            f.write(QByteArray(256, '\x5A'));
        }
        if (kind == QLatin1String("missing"))
            description = description.arg(AppPath::toNative(path));
        ScriptedMessages messages;
        GameState form;
        form.ProgressBarMake.setVisible(true);
        form.ProgressBarMake.setValue(35);
        ModuleGetNumber bank(form);
        bank.GetNumber();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().icon, MessageBox::Icon::Critical);
        QCOMPARE(messages.last().title, QStringLiteral("产生错误"));
        QCOMPARE(messages.last().text, QStringLiteral("连接题库时出错！") + description);
        QCOMPARE(bank.rsProblem.State(), 0);
        QCOMPARE(bank.cnProblem.State(), 0);
        QCOMPARE(form.ProgressBarMake.Value(), 0);
        QVERIFY(!form.ProgressBarMake.Visible());
        QCOMPARE(form.MousePointer(), GameState::kPointerCustom);

        // Nothing is left half open: once the bank is mended the next draw works.
        QFile::remove(path);
        folder.putBank(entries(kDrawnIds));
        bank.GetNumber();
        QCOMPARE(messages.count(), 1);
        QCOMPARE(bank.rsProblem.State(), 1);
        QCOMPARE(bank.rsProblem.RecordCount(), 1);
    }

    void drawingTwiceReplacesTheFirstResult()
    {
        ProgramFolder folder;
        folder.putBank(entries(kDrawnIds));
        ScriptedMessages messages;
        GameState form;
        ModuleGetNumber bank(form);
        bank.GetNumber();
        QCOMPARE(bank.cnProblem.State(), 1);
        // Opening an open connection is refused, so a second draw only works
        // if it closed the first result and its connection.
        QVERIFY_THROWS_EXCEPTION(AdoError, bank.cnProblem.Open(ModuleGetNumber::connectionString()));
        bank.GetNumber();
        QCOMPARE(messages.count(), 0);
        QCOMPARE(bank.rsProblem.State(), 1);
        QCOMPARE(bank.rsProblem.RecordCount(), 1);
        bank.CloseBank();
        QCOMPARE(bank.rsProblem.State(), 0);
        QCOMPARE(bank.cnProblem.State(), 0);
    }

    void savedPuzzleQueryNeedsAnUnfinishedRecord()
    {
        ProgramFolder folder;
        auto list = entries({ QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3") });
        list[1].finished = QStringLiteral("true");
        folder.putBank(list);
        GameState form;
        ModuleGetNumber bank(form);

        bank.OpenSavedPuzzle(QStringLiteral(" 3 "));
        QCOMPARE(bank.strProblemSql,
            QStringLiteral("select * from [Problem] where [Finished] = 'false' and [ID] like '3'"));
        QCOMPARE(bank.rsProblem.Fields(QStringLiteral("ID")).toString(), QStringLiteral("3"));
        QCOMPARE(bank.rsProblem.Fields(QStringLiteral("l(0)")).toInt(), grid(2)[0]);

        // A finished puzzle, and one the bank does not hold, are errors.
        QVERIFY_THROWS_EXCEPTION(AdoError, bank.OpenSavedPuzzle(QStringLiteral("2")));
        QCOMPARE(bank.rsProblem.State(), 0);
        QCOMPARE(bank.cnProblem.State(), 0);
        QVERIFY_THROWS_EXCEPTION(AdoError, bank.OpenSavedPuzzle(QStringLiteral("9")));
        bank.OpenSavedPuzzle(QStringLiteral("1"));
        QCOMPARE(bank.rsProblem.RecordCount(), 1);
    }

    void connectionStringCarriesThePassword()
    {
        ProgramFolder folder;
        const QString cs = ModuleGetNumber::connectionString();
        QCOMPARE(cs,
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=")
                + folder.path()
                + QStringLiteral("\\problem\\problem.dbs;Jet OLEDB:Database Password=qoravt458zu"));
        QCOMPARE(ModuleGetNumber::bankPassword(), QStringLiteral("qoravt458zu"));
    }

    void programFolderWithSemicolonStillOpens()
    {
        ProgramFolder outer;
        const QString odd = outer.file(QStringLiteral("odd;folder 'x'"));
        QVERIFY(QDir().mkpath(odd + QStringLiteral("/problem")));
        AppPath::setFolder(odd);
        BankBuilder::write(odd + QStringLiteral("/problem/problem.dbs"), ModuleGetNumber::bankPassword(),
            entries(kDrawnIds));
        ScriptedMessages messages;
        GameState form;
        ModuleGetNumber bank(form);
        bank.GetNumber();
        QCOMPARE(messages.count(), 0);
        QCOMPARE(bank.rsProblem.RecordCount(), 1);
    }

    void shippedBankHoldsEightValidUnfinishedGrids()
    {
        AppPath::setFolder(ProgramFolder::buildFolder());
        GameState form;
        ModuleGetNumber bank(form);
        for (int id = 1; id <= 8; ++id) {
            bank.OpenSavedPuzzle(QString::number(id));
            QCOMPARE(bank.rsProblem.RecordCount(), 1);
            SudokuGrid::Cells cells {};
            for (int i = 0; i < 81; ++i)
                cells[std::size_t(i)] = bank.rsProblem.Fields(QStringLiteral("l(%1)").arg(i)).toInt();
            QString why;
            QVERIFY2(SudokuGrid::isValidSolution(cells, &why),
                qPrintable(QStringLiteral("grid %1: %2").arg(id).arg(why)));
        }
        bank.CloseBank();
        bank.cnProblem.Open(ModuleGetNumber::connectionString());
        bank.rsProblem.Open(QStringLiteral("select * from [Problem]"), bank.cnProblem);
        QCOMPARE(bank.rsProblem.RecordCount(), 8);
        bank.CloseBank();
        // Without the password the bank does not open at all.
        const QString path = ProgramFolder::buildFolder() + QStringLiteral("/problem/problem.dbs");
        QVERIFY_THROWS_EXCEPTION(
            AdoError, AdoConnection::openKeyed(path, QStringLiteral("qoravt458zv"), false));
        QVERIFY_THROWS_EXCEPTION(AdoError, AdoConnection::openKeyed(path, QString(), false));
        AppPath::reset();
    }
};

QTEST_GUILESS_MAIN(TestBank)
#include "tst_bank.moc"
