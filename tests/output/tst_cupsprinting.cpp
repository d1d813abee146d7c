#include "FormPrint.h"
#include "GameHarness.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <sys/prctl.h>

namespace {

// A CUPS scheduler of the test's own, reached through a socket in a
// temporary folder, whose printers write what they are sent into files
// there. The game finds it through CUPS_SERVER, as it would a system's.
class LocalCups
{
public:
    LocalCups()
    {
        const QString cupsd = QStandardPaths::findExecutable(
            QStringLiteral("cupsd"), { QStringLiteral("/usr/sbin"), QStringLiteral("/sbin") });
        if (cupsd.isEmpty() || !m_root.isValid())
            return;
        // Open to the printers, which run as lp where the scheduler runs
        // as root.
        QFile::setPermissions(m_root.path(), QFile::Permissions(0x7755));
        const QDir root(m_root.path());
        for (const char *folder : { "spool", "cache", "state", "tmp", "log", "out", "bin/backend" })
            root.mkpath(QString::fromLatin1(folder));
        QFile::setPermissions(path(QStringLiteral("out")), QFile::Permissions(0x7777));
        // The scheduler starts backends through its own helper.
        QFile::link(QStringLiteral("/usr/lib/cups/daemon"), path(QStringLiteral("bin/daemon")));
        // A device that is a file: the job's document lands at the path the
        // device address names.
        write(QStringLiteral("bin/backend/vexafile"),
            "#!/bin/sh\n"
            "[ $# -eq 0 ] && { echo 'direct vexafile \"Unknown\" \"File\"'; exit 0; }\n"
            "umask 022\n"
            "out=\"${DEVICE_URI#*:}\"\n"
            "if [ -n \"$6\" ]; then cat \"$6\" > \"$out\"; else cat > \"$out\"; fi\n");
        QFile::setPermissions(path(QStringLiteral("bin/backend/vexafile")),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                | QFile::ReadOther | QFile::ExeOther);
        QByteArray files;
        for (const auto &[key, value] : std::initializer_list<std::pair<const char *, QString>> {
                 { "ServerRoot", m_root.path() }, { "ServerBin", path(QStringLiteral("bin")) },
                 { "RequestRoot", path(QStringLiteral("spool")) },
                 { "CacheDir", path(QStringLiteral("cache")) }, { "StateDir", path(QStringLiteral("state")) },
                 { "TempDir", path(QStringLiteral("tmp")) },
                 { "AccessLog", path(QStringLiteral("log/access_log")) },
                 { "ErrorLog", path(QStringLiteral("log/error_log")) },
                 { "PageLog", path(QStringLiteral("log/page_log")) } })
            files += QByteArray(key) + ' ' + value.toUtf8() + '\n';
        write(QStringLiteral("cups-files.conf"), files);
        // Anyone on this socket may do anything: it is the test's alone.
        write(QStringLiteral("cupsd.conf"),
            "LogLevel warn\nListen " + socket().toUtf8()
                + "\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");

        m_cupsd.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_cupsd.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_cupsd.start(cupsd,
            { QStringLiteral("-f"), QStringLiteral("-c"), path(QStringLiteral("cupsd.conf")),
                QStringLiteral("-s"), path(QStringLiteral("cups-files.conf")) });
        if (!m_cupsd.waitForStarted())
            return;
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && m_cupsd.state() == QProcess::Running) {
            // lpstat ends well either way and says which.
            QByteArray said;
            if (tool(QStringLiteral("lpstat"), { QStringLiteral("-r") }, &said)
                && said.startsWith("scheduler is running"))
                return;
            QThread::msleep(100);
        }
        m_cupsd.kill();
        m_cupsd.waitForFinished();
    }

    ~LocalCups()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(5000)) {
                m_cupsd.kill();
                m_cupsd.waitForFinished();
            }
        }
    }

    bool isRunning() const { return m_cupsd.state() == QProcess::Running; }
    QString socket() const { return path(QStringLiteral("cups.sock")); }
    QString path(const QString &name) const { return m_root.filePath(name); }
    QString outputOf(const QString &printer) const
    {
        return path(QStringLiteral("out/") + printer + QStringLiteral(".out"));
    }

    // Runs one of CUPS's command-line tools against this scheduler; true
    // when it succeeded. Its output goes to *output.
    bool tool(const QString &name, const QStringList &args, QByteArray *output = nullptr) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("CUPS_SERVER"), socket());
        p.setProcessEnvironment(env);
        p.start(name, args);
        if (!p.waitForFinished(10000)) {
            p.kill();
            p.waitForFinished();
            return false;
        }
        if (output)
            *output = p.readAllStandardOutput();
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    // Replaces all printers with `names`, each printing into its own file;
    // `defaultName`, if given, becomes the default.
    bool setPrinters(const QStringList &names, const QString &defaultName = QString())
    {
        for (const QString &name : std::as_const(m_printers))
            tool(QStringLiteral("lpadmin"), { QStringLiteral("-x"), name });
        m_printers.clear();
        for (const QString &name : names) {
            if (!tool(QStringLiteral("lpadmin"),
                    { QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                        QStringLiteral("vexafile:") + outputOf(name) }))
                return false;
            m_printers << name;
        }
        return defaultName.isEmpty()
            || tool(QStringLiteral("lpadmin"), { QStringLiteral("-d"), defaultName });
    }

private:
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }

    QTemporaryDir m_root { QDir::tempPath() + QStringLiteral("/vexa-cups-XXXXXX") };
    QProcess m_cupsd;
    QStringList m_printers;
};

QWidget *child(QWidget *window, const char *name)
{
    return window->findChild<QWidget *>(QString::fromLatin1(name));
}

} // namespace

// Printing through a real CUPS scheduler: which printer the print window
// takes, and what the player hears when CUPS refuses a job.
class TestCupsPrinting : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LocalCups> m_cups;

private slots:
    void initTestCase()
    {
        m_cups = std::make_unique<LocalCups>();
        if (!m_cups->isRunning())
            QSKIP("cupsd (cups-daemon) is needed to print through a local scheduler");
        // Before anything asks CUPS, which keeps the first server it finds.
        qputenv("CUPS_SERVER", m_cups->socket().toUtf8());
        // Nobody's own choice of default printer may play a part.
        qputenv("HOME", m_cups->path(QStringLiteral("tmp")).toUtf8());
        qunsetenv("LPDEST");
        qunsetenv("PRINTER");
    }

    void cleanupTestCase() { m_cups.reset(); }

    void printsOnTheDefaultElseTheFirstListed_data()
    {
        QTest::addColumn<QStringList>("printers");
        QTest::addColumn<QString>("defaultName");
        QTest::addColumn<QString>("used");
        QTest::newRow("default set") << QStringList { "Beta", "Alpha" } << "Beta"
                                     << "Beta";
        // CUPS lists its printers by name.
        QTest::newRow("no default, first listed") << QStringList { "Beta", "Alpha" } << QString() << "Alpha";
        QTest::newRow("no default, only printer") << QStringList { "Beta" } << QString() << "Beta";
    }

    void printsOnTheDefaultElseTheFirstListed()
    {
        QFETCH(QStringList, printers);
        QFETCH(QString, defaultName);
        QFETCH(QString, used);
        QVERIFY(m_cups->setPrinters(printers, defaultName));
        GameHarness game;
        game.startGame();
        FormPrint *window = FormPrint::menuGame_Print_Click(game.state(), &game.form());
        const QStringList info
            = static_cast<QLabel *>(child(window, "labelPrinter"))->text().split(QStringLiteral("\r\n"));
        QCOMPARE(info.value(1), used);
        QCOMPARE(info.value(7), QStringLiteral("vexafile:") + m_cups->outputOf(used));

        QTest::mouseClick(static_cast<QPushButton *>(child(window, "cmdPrint")), Qt::LeftButton);
        QVERIFY2(game.messages.count() == 0,
            qPrintable(game.messages.count() ? game.messages.last().text : QString()));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_cups->outputOf(used)).size() > 1000, 20000);
        QFile page(m_cups->outputOf(used));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.read(5) == "%PDF-");
        for (const QString &other : printers)
            if (other != used)
                QVERIFY(!QFile::exists(m_cups->outputOf(other)));
        page.remove();
        window->close();
    }

    void refusedJobIsReportedWithTheReason()
    {
        QVERIFY(m_cups->setPrinters({ QStringLiteral("Alpha") }));
        QVERIFY(m_cups->tool(QStringLiteral("cupsreject"), { QStringLiteral("Alpha") }));
        GameHarness game;
        game.load();
        FormPrint *window = FormPrint::menuGame_Print_Click(game.state(), &game.form());
        QTest::mouseClick(static_cast<QPushButton *>(child(window, "cmdPrint")), Qt::LeftButton);
        QCOMPARE(game.messages.count(), 1);
        const MessageBox::Request &message = game.messages.last();
        QCOMPARE(message.title, QStringLiteral("Vexa Sudoku"));
        QCOMPARE(message.buttons, MessageBox::Buttons::Ok);
        // The game's words, then what CUPS said.
        const QString head = QStringLiteral("打印作业出错，未能打印到：Alpha\r\n");
        QVERIFY2(
            message.text.startsWith(head) && message.text.size() > head.size() + 5, qPrintable(message.text));
        QVERIFY(window->isVisible());
        for (const char *name : { "Frame1", "labelPrinter", "cmdPrint", "cmdClose" })
            QVERIFY2(!child(window, name)->isHidden(), name);
        QVERIFY(!QFile::exists(m_cups->outputOf(QStringLiteral("Alpha"))));
        window->close();
    }
};

QTEST_MAIN(TestCupsPrinting)
#include "tst_cupsprinting.moc"
