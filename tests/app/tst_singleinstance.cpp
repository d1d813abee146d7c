#include "ProgramFolder.h"
#include "SingleInstance.h"

#include <QtTest>
#include <cstdio>
#include <cstring>

namespace {

const char *const kHoldLock = "--hold-lock";
const char *const kIdle = "--idle";

// Helper modes of this very executable, run as child processes: one holds
// the lock, one just lives. Both end when the test closes their input or
// kills them.
int runHelper(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SingleInstance lock(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString());
    if (std::strcmp(argv[1], kHoldLock) == 0) {
        if (!lock.acquire())
            return 1;
        std::puts("held");
    } else {
        std::puts("idle");
    }
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}

QString selfPath()
{
    return QCoreApplication::applicationFilePath();
}

bool waitForLine(QProcess &process, const QByteArray &line)
{
    while (process.waitForReadyRead(30000)) {
        if (process.canReadLine() && process.readLine().trimmed() == line)
            return true;
    }
    return false;
}

qint64 pidInLock(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const qint64 pid = file.readAll().trimmed().toLongLong(&ok);
    return ok ? pid : -1;
}

QProcessEnvironment gameEnvironment(const QString &runtime)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.remove(QStringLiteral("VEXA_REPORT_STARTUP"));
    return env;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void firstCopyKeepsOthersOutUntilItEnds()
    {
        QTemporaryDir folder;
        auto first = std::make_unique<SingleInstance>(folder.path());
        QVERIFY(first->acquire());
        QVERIFY(first->isHeld());
        QVERIFY(first->acquire()); // asking again keeps the lock

        // Two opens of the same file conflict even inside one process.
        SingleInstance second(folder.path());
        QVERIFY(!second.acquire());
        QVERIFY(!second.isHeld());
        QVERIFY(!second.acquire());

        first.reset();
        QVERIFY(second.acquire());
        QCOMPARE(pidInLock(second.lockFilePath()), QCoreApplication::applicationPid());
    }

    void lockIsNamedAfterTheGameInTheRuntimeFolder()
    {
        QTemporaryDir runtime;
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        SingleInstance lock;
        const QString path = lock.lockFilePath();
        const bool acquired = lock.acquire();
        qputenv("XDG_RUNTIME_DIR", saved);

        QVERIFY(acquired);
        QCOMPARE(path, runtime.filePath(QStringLiteral("Vexa Sudoku.lock")));
        QVERIFY(QFileInfo::exists(path));
    }

    void missingFolderIsMade()
    {
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("a/b"));
        SingleInstance lock(folder);
        QVERIFY(lock.acquire());
        QVERIFY(QFileInfo::exists(lock.lockFilePath()));
    }

    void lockThatCannotBeMadeDoesNotKeepThePlayerOut()
    {
        // The folder is a file: no lock can be made there.
        QTemporaryDir base;
        const QString notAFolder = base.filePath(QStringLiteral("file"));
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        SingleInstance lock(notAFolder);
        QVERIFY(lock.acquire());
        QVERIFY(!lock.isHeld());
    }

    void killedHolderFreesTheLock()
    {
        QTemporaryDir folder;
        QProcess holder;
        holder.start(selfPath(), { QLatin1String(kHoldLock), folder.path() });
        QVERIFY(holder.waitForStarted());
        QVERIFY(waitForLine(holder, "held"));
        QCOMPARE(pidInLock(folder.filePath(SingleInstance::lockFileName())), holder.processId());

        SingleInstance lock(folder.path());
        QVERIFY(!lock.acquire());

        holder.kill(); // SIGKILL: the holder gets no chance to let go itself
        QVERIFY(holder.waitForFinished(30000));
        QCOMPARE(holder.exitStatus(), QProcess::CrashExit);
        QVERIFY(lock.acquire());
    }

    void programsStartedByTheHolderDoNotKeepTheLock()
    {
        QTemporaryDir folder;
        auto lock = std::make_unique<SingleInstance>(folder.path());
        QVERIFY(lock->acquire());
        QProcess child;
        child.start(selfPath(), { QLatin1String(kIdle) });
        QVERIFY(child.waitForStarted());
        QVERIFY(waitForLine(child, "idle"));

        lock.reset();
        SingleInstance next(folder.path());
        QVERIFY(next.acquire());

        child.closeWriteChannel();
        QVERIFY(child.waitForFinished(30000));
    }

    void secondCopyOfTheGameEndsQuietly()
    {
        const QString built = ProgramFolder::buildFolder() + QStringLiteral("/vexa-sudoku");
        QVERIFY2(QFileInfo::exists(built), qPrintable(built));
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        const QString program = folder.file(QStringLiteral("vexa-sudoku"));
        QVERIFY(QFile::copy(built, program));
        QVERIFY(QFile::setPermissions(program, QFile::permissions(built)));
        QTemporaryDir runtime;
        QTemporaryDir elsewhere; // the program must not depend on where it is started from
        const QString lockPath = runtime.filePath(SingleInstance::lockFileName());

        auto start = [&](QProcess &process) {
            process.setProcessEnvironment(gameEnvironment(runtime.path()));
            process.setWorkingDirectory(elsewhere.path());
            process.start(program, {});
            return process.waitForStarted(30000);
        };

        QProcess first;
        QVERIFY(start(first));
        // The process id appears in the file only once the lock is held.
        QTRY_COMPARE_WITH_TIMEOUT(pidInLock(lockPath), first.processId(), 30000);

        QProcess second;
        QVERIFY(start(second));
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QCOMPARE(second.readAllStandardError(), QByteArray());
        QCOMPARE(first.state(), QProcess::Running);

        // A copy that crashed leaves nothing behind that keeps the next out.
        first.kill();
        QVERIFY(first.waitForFinished(30000));
        QProcess third;
        QVERIFY(start(third));
        QTRY_COMPARE_WITH_TIMEOUT(pidInLock(lockPath), third.processId(), 30000);
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        QVERIFY(third.waitForFinished(30000));
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && (std::strcmp(argv[1], kHoldLock) == 0 || std::strcmp(argv[1], kIdle) == 0))
        return runHelper(argc, argv);
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
