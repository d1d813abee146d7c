#include "RegularFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Should an open wait on the FIFO for a writer, this plays the writer once
// the time is up: the reader sees an empty file and the test fails on the
// watchdog instead of hanging.
class FifoWatchdog
{
public:
    FifoWatchdog(const QString &path, std::chrono::milliseconds patience)
        : m_thread([this, name = QFile::encodeName(path), patience] {
            const auto deadline = std::chrono::steady_clock::now() + patience;
            while (!m_done) {
                if (std::chrono::steady_clock::now() >= deadline) {
                    // Opens only while a reader has the FIFO open.
                    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                    if (fd >= 0) {
                        m_fired = true;
                        ::close(fd);
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        })
    { }
    ~FifoWatchdog()
    {
        m_done = true;
        m_thread.join();
    }
    bool fired() const { return m_fired; }

private:
    std::atomic<bool> m_done { false };
    std::atomic<bool> m_fired { false };
    std::thread m_thread;
};

} // namespace

class TestRegularFile : public QObject
{
    Q_OBJECT

private slots:
    void onlyRegularFilesAreRead()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("file"));
        const QString fifo = dir.filePath(QStringLiteral("fifo"));
        const QString folder = dir.filePath(QStringLiteral("folder"));
        const QString link = dir.filePath(QStringLiteral("link"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("text") == 4);
        f.close();
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(QFile::link(file, link));
        FifoWatchdog watchdog(fifo, std::chrono::seconds(3));

        QCOMPARE(RegularFile::read(file, 100), QByteArray("text"));
        QCOMPARE(RegularFile::read(file, 2), QByteArray("te"));
        QCOMPARE(RegularFile::read(link, 100), QByteArray("text"));
        QVERIFY(RegularFile::isRegular(link));
        for (const QString &other : { fifo, folder, dir.filePath(QStringLiteral("missing")) }) {
            QVERIFY2(!RegularFile::read(other, 100), qPrintable(other));
            QVERIFY2(!RegularFile::isRegular(other), qPrintable(other));
        }
        QVERIFY2(!watchdog.fired(), "a read waited on the FIFO for a writer");
    }
};

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_regularfile.moc"
