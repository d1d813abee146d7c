#include "ModuleSystemVersion.h"

#include <QtTest>

class TestSystemVersion : public QObject
{
    Q_OBJECT

private slots:
    void namesFollowTheTable_data()
    {
        QTest::addColumn<quint32>("platform");
        QTest::addColumn<quint32>("major");
        QTest::addColumn<quint32>("minor");
        QTest::addColumn<QString>("name");

        // The 9x family is told apart by the minor number alone.
        QTest::newRow("95") << 1u << 4u << 0u << "Windows 95";
        QTest::newRow("95 any major") << 1u << 7u << 0u << "Windows 95";
        QTest::newRow("98") << 1u << 4u << 10u << "Windows 98";
        QTest::newRow("Me") << 1u << 4u << 90u << "Windows Mellinnium";
        QTest::newRow("9x unknown minor") << 1u << 4u << 20u << "";
        // NT 3 and 4 by the major number alone, NT 5 by both.
        QTest::newRow("NT 3.51") << 2u << 3u << 51u << "Windows NT 3.51";
        QTest::newRow("NT 3 any minor") << 2u << 3u << 0u << "Windows NT 3.51";
        QTest::newRow("NT 4.0") << 2u << 4u << 0u << "Windows NT 4.0";
        QTest::newRow("NT 4 any minor") << 2u << 4u << 90u << "Windows NT 4.0";
        QTest::newRow("2000") << 2u << 5u << 0u << "Windows 2000";
        QTest::newRow("XP") << 2u << 5u << 1u << "Windows XP";
        QTest::newRow("2003") << 2u << 5u << 2u << "Windows Server 2003";
        QTest::newRow("NT 5.3") << 2u << 5u << 3u << "";
        QTest::newRow("NT 6.1") << 2u << 6u << 1u << "";
        QTest::newRow("NT 10.0") << 2u << 10u << 0u << "";
        QTest::newRow("NT minor 10 is no 98") << 2u << 6u << 10u << "";
        QTest::newRow("NT minor 0 is no 95") << 2u << 6u << 0u << "";
        // Anything else is not a platform the game knows.
        QTest::newRow("win32s") << 0u << 3u << 10u << "Failed";
        QTest::newRow("CE") << 3u << 5u << 0u << "Failed";
        QTest::newRow("large id") << 0xFFFFFFFFu << 5u << 1u << "Failed";
    }

    void namesFollowTheTable()
    {
        QFETCH(quint32, platform);
        QFETCH(quint32, major);
        QFETCH(quint32, minor);
        QFETCH(QString, name);
        QCOMPARE(ModuleSystemVersion::nameFor(platform, major, minor), name);
    }

    void releasesReadAsVersionNumbers_data()
    {
        QTest::addColumn<QString>("release");
        QTest::addColumn<quint32>("major");
        QTest::addColumn<quint32>("minor");
        QTest::addColumn<quint32>("build");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("name");

        QTest::newRow("debian") << "6.1.0-18-amd64" << 6u << 1u << 0u << "18-amd64"
                                << "";
        QTest::newRow("windows") << "10.0.19045" << 10u << 0u << 19045u << ""
                                 << "";
        QTest::newRow("two numbers") << "5.15" << 5u << 15u << 0u << ""
                                     << "";
        QTest::newRow("one number") << "4" << 4u << 0u << 0u << ""
                                    << "Windows NT 4.0";
        QTest::newRow("kernel that reads as XP") << "5.1.21+rpt" << 5u << 1u << 21u << "rpt"
                                                 << "Windows XP";
        QTest::newRow("empty") << "" << 0u << 0u << 0u << ""
                               << "";
        QTest::newRow("no numbers") << "unknown" << 0u << 0u << 0u << ""
                                    << "";
        QTest::newRow("too large") << "99999999999.2" << 0u << 2u << 0u << ""
                                   << "";
    }

    void releasesReadAsVersionNumbers()
    {
        QFETCH(QString, release);
        const OsVersionInfo info = ModuleSystemVersion::fromRelease(release);
        QTEST(info.dwMajorVersion, "major");
        QTEST(info.dwMinorVersion, "minor");
        QTEST(info.dwBuildNumber, "build");
        QTEST(info.szCSDVersion, "note");
        QTEST(info.name, "name");
        QCOMPARE(info.dwPlatformId, ModuleSystemVersion::kPlatformWin32NT);
        QCOMPARE(info.dwOSVersionInfoSize, 148u);
    }

    void runningSystemIsNeverOneThatCannotFade()
    {
        // Only 95, 98 and Me skip the splash's fade; none of them can be
        // the system running this.
        const OsVersionInfo info = ModuleSystemVersion::GetSystemVersion();
        QCOMPARE(info.dwPlatformId, ModuleSystemVersion::kPlatformWin32NT);
        QCOMPARE(info.dwOSVersionInfoSize, 148u);
        for (const char *old : { "Windows 95", "Windows 98", "Windows Mellinnium" })
            QVERIFY2(info.name != QLatin1String(old), qPrintable(info.name));
        QVERIFY(info.dwMajorVersion > 0);
    }
};

QTEST_GUILESS_MAIN(TestSystemVersion)
#include "tst_systemversion.moc"
