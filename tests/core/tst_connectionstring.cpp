#include "ConnectionString.h"

#include <QtTest>

class TestConnectionString : public QObject
{
    Q_OBJECT

private slots:
    void readsKeysAndValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("valid");
        const QString game = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security "
                                            "Info=False;Data Source=/opt/vexa\\problem\\problem.dbs;"
                                            "Jet OLEDB:Database Password=qoravt458zu");
        QTest::newRow("password") << game << "Jet OLEDB:Database Password"
                                  << "qoravt458zu" << true;
        QTest::newRow("source keeps backslashes") << game << "Data Source"
                                                  << "/opt/vexa\\problem\\problem.dbs" << true;
        QTest::newRow("keys ignore case and blanks") << game << "  data source "
                                                     << "/opt/vexa\\problem\\problem.dbs" << true;
        QTest::newRow("missing key") << game << "User ID"
                                     << "" << true;
        QTest::newRow("quoted semicolon") << "Data Source=\"/a;b/problem.dbs\";Provider=x"
                                          << "Data Source"
                                          << "/a;b/problem.dbs" << true;
        QTest::newRow("doubled quote") << "Password='it''s'"
                                       << "Password"
                                       << "it's" << true;
        QTest::newRow("last one wins") << "A=1;A=2"
                                       << "a"
                                       << "2" << true;
        QTest::newRow("value with equals") << "Password=a=b"
                                           << "Password"
                                           << "a=b" << true;
        QTest::newRow("trailing semicolons") << "A=1;;; "
                                             << "A"
                                             << "1" << true;
        QTest::newRow("unclosed quote") << "A=\"abc"
                                        << "A"
                                        << "abc" << false;
        QTest::newRow("text after quote") << "A=\"abc\"x;B=1"
                                          << "B"
                                          << "1" << false;
        QTest::newRow("part without equals") << "A=1;garbage;B=2"
                                             << "B"
                                             << "2" << false;
        QTest::newRow("empty key") << "=1;B=2"
                                   << "B"
                                   << "2" << false;
        QTest::newRow("empty") << ""
                               << "A"
                               << "" << true;
    }

    void readsKeysAndValues()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(bool, valid);
        const ConnectionString cs = ConnectionString::parse(text);
        QCOMPARE(cs.value(key), value);
        QCOMPARE(cs.isValid(), valid);
    }

    void quotedValuesComeBackUnchanged_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "/home/player/vexa";
        QTest::newRow("semicolon") << "/home/a;b";
        QTest::newRow("quotes") << "/home/\"x\"/'y'";
        QTest::newRow("leading blank") << " /home";
        QTest::newRow("chinese") << "/home/玩家/数独";
    }

    void quotedValuesComeBackUnchanged()
    {
        QFETCH(QString, value);
        const auto cs = ConnectionString::parse(QStringLiteral("A=1;Data Source=")
            + ConnectionString::quoteValue(value) + QStringLiteral(";Password=p"));
        QVERIFY(cs.isValid());
        QCOMPARE(cs.value(QStringLiteral("Data Source")), value);
        QCOMPARE(cs.value(QStringLiteral("Password")), QStringLiteral("p"));
    }
};

QTEST_GUILESS_MAIN(TestConnectionString)
#include "tst_connectionstring.moc"
