#include "VersionCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestVersionCheck : public QObject
{
    Q_OBJECT

private slots:
    void localVersionIsTheProjectVersion()
    {
        QCOMPARE(VersionCheck::localVersion(), QStringLiteral(VEXA_TEST_PROJECT_VERSION));
    }

    void comparesAsPlainText_data()
    {
        QTest::addColumn<QString>("published");
        QTest::addColumn<QString>("local");
        QTest::addColumn<bool>("newer");
        QTest::newRow("next revision") << "1.0.65"
                                       << "1.0.64" << true;
        QTest::newRow("next minor") << "1.1.0"
                                    << "1.0.64" << true;
        QTest::newRow("next major") << "2.0.0"
                                    << "1.0.64" << true;
        QTest::newRow("same") << "1.0.64"
                              << "1.0.64" << false;
        QTest::newRow("earlier revision") << "1.0.63"
                                          << "1.0.64" << false;
        // Text, not numbers: "1" sorts before "6".
        QTest::newRow("three-digit revision reads as older") << "1.0.100"
                                                             << "1.0.64" << false;
        QTest::newRow("one-digit revision reads as newer") << "1.0.9"
                                                           << "1.0.64" << true;
        QTest::newRow("trailing blank makes it longer") << "1.0.64 "
                                                        << "1.0.64" << true;
        QTest::newRow("leading blank sorts first") << " 1.0.65"
                                                   << "1.0.64" << false;
        QTest::newRow("empty") << ""
                               << "1.0.64" << false;
        QTest::newRow("a prefix is older") << "1.0.6"
                                           << "1.0.64" << false;
        QTest::newRow("letters sort after digits") << "1.0.6a"
                                                   << "1.0.64" << true;
        QTest::newRow("capital letter before small") << "V"
                                                     << "v" << false;
        QTest::newRow("Chinese after ASCII") << "版本"
                                             << "1.0.64" << true;
    }

    void comparesAsPlainText()
    {
        QFETCH(QString, published);
        QFETCH(QString, local);
        QFETCH(bool, newer);
        QCOMPARE(VersionCheck::isNewer(published, local), newer);
        // Never both ways round.
        if (newer)
            QVERIFY(!VersionCheck::isNewer(local, published));
    }

    void firstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QTest::newRow("CR LF") << QByteArray("1.0.65\r\nrest\r\n") << "1.0.65";
        QTest::newRow("LF alone") << QByteArray("1.0.65\nrest") << "1.0.65";
        QTest::newRow("CR alone") << QByteArray("1.0.65\rrest") << "1.0.65";
        QTest::newRow("no line end") << QByteArray("1.0.65") << "1.0.65";
        QTest::newRow("trailing blank kept") << QByteArray("1.0.64 \r\nrest") << "1.0.64 ";
        QTest::newRow("tab kept") << QByteArray("1.0.64\t\r\n") << "1.0.64\t";
        QTest::newRow("leading blank kept") << QByteArray(" 1.0.65\r\n") << " 1.0.65";
        QTest::newRow("empty first line") << QByteArray("\r\n1.0.65\r\n") << "";
        QTest::newRow("empty") << QByteArray() << "";
        QTest::newRow("GBK text") << QByteArray("\xd0\xc2\xb0\xe6 2.0\r\n") << "新版 2.0";
        QTest::newRow("markup stays text") << QByteArray("<b>1.0.65</b>\r\n") << "<b>1.0.65</b>";
    }

    void firstLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        QCOMPARE(VersionCheck::firstLine(bytes), line);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("updateinfo.htm"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QCOMPARE(VersionCheck::readFirstLine(path), std::optional<QString>(line));
    }

    void unreadableFileGivesNothing()
    {
        QTemporaryDir dir;
        QCOMPARE(VersionCheck::readFirstLine(dir.filePath(QStringLiteral("missing"))), std::nullopt);
        // A folder where the file should be cannot be read as one.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("updateinfo.htm")));
        QCOMPARE(VersionCheck::readFirstLine(dir.filePath(QStringLiteral("updateinfo.htm"))), std::nullopt);
    }

    void hugeFileIsReadOnlyAtItsStart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("updateinfo.htm"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // One line far longer than the part that is looked at.
        file.write(QByteArray(VersionCheck::kMaxReadBytes * 2, '9'));
        file.close();
        const auto line = VersionCheck::readFirstLine(path);
        QVERIFY(line);
        QCOMPARE(line->size(), VersionCheck::kMaxReadBytes);
    }
};

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "tst_versioncheck.moc"
