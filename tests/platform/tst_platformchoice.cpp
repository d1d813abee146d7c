#include "PlatformChoice.h"

#include <QtTest>

class TestPlatformChoice : public QObject
{
    Q_OBJECT

private:
    QByteArray m_saved;

private slots:
    void init() { m_saved = qgetenv("QT_QPA_PLATFORM"); }
    void cleanup() { qputenv("QT_QPA_PLATFORM", m_saved); }

    void x11UnlessThePlayerChose_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("passed");
        QTest::addColumn<bool>("needsX11");
        const QStringList game { "vexa-sudoku" };
        // A Wayland session sets no platform for the game: it asks for X11.
        QTest::newRow("nothing chosen")
            << QByteArray() << game << QStringList { "vexa-sudoku", "-platform", "xcb" } << true;
        QTest::newRow("nothing chosen, other arguments")
            << QByteArray() << QStringList { "vexa-sudoku", "-style", "fusion" }
            << QStringList { "vexa-sudoku", "-platform", "xcb", "-style", "fusion" } << true;
        // The player's choice stands, whichever way he made it.
        QTest::newRow("Wayland chosen") << QByteArray("wayland") << game << game << false;
        QTest::newRow("X11 chosen, with options") << QByteArray("xcb:nograb") << game << game << true;
        QTest::newRow("chosen by argument")
            << QByteArray() << QStringList { "vexa-sudoku", "-platform", "offscreen" }
            << QStringList { "vexa-sudoku", "-platform", "offscreen" } << false;
        QTest::newRow("argument over variable")
            << QByteArray("wayland") << QStringList { "vexa-sudoku", "--platform", "xcb" }
            << QStringList { "vexa-sudoku", "--platform", "xcb" } << true;
    }

    void x11UnlessThePlayerChose()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QStringList, given);
        QFETCH(QStringList, passed);
        QFETCH(bool, needsX11);
        if (variable.isEmpty())
            qunsetenv("QT_QPA_PLATFORM");
        else
            qputenv("QT_QPA_PLATFORM", variable);
        QList<QByteArray> bytes;
        for (const QString &arg : given)
            bytes << arg.toLocal8Bit();
        std::vector<char *> argv;
        for (QByteArray &arg : bytes)
            argv.push_back(arg.data());
        argv.push_back(nullptr);

        PlatformChoice choice(int(given.size()), argv.data());
        QStringList handed;
        for (int i = 0; i < choice.argc(); ++i)
            handed << QString::fromLocal8Bit(choice.argv()[i]);
        QCOMPARE(handed, passed);
        // Ends in a null, as main's list does.
        QCOMPARE(choice.argv()[choice.argc()], nullptr);
        QCOMPARE(choice.needsX11(), needsX11);
    }
};

QTEST_GUILESS_MAIN(TestPlatformChoice)
#include "tst_platformchoice.moc"
