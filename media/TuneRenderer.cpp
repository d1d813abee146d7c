#include "TuneRenderer.h"

#include "AppPath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <mutex>

namespace {

const char kProgramName[] = "vexa-tune-render";
// Its exit statuses.
constexpr int kSoundFontRefused = 3;
// A renderer that says nothing for this long has hung on something.
constexpr int kSilentMsecs = 30000;

std::mutex g_lock;
QString g_program;
// The answers of each renderer asked.
QHash<QString, QString> g_synthesisers;

QString lastLine(const QByteArray &text)
{
    const QList<QByteArray> lines = text.trimmed().split('\n');
    return lines.isEmpty() ? QString() : QString::fromLocal8Bit(lines.last().trimmed());
}

} // namespace

QString TuneRenderer::program()
{
    {
        std::lock_guard lock(g_lock);
        if (!g_program.isEmpty())
            return g_program;
    }
    if (QCoreApplication::instance()) {
        const QString beside
            = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kProgramName);
        if (QFileInfo(beside).isExecutable())
            return beside;
    }
    return AppPath::file(QLatin1String(kProgramName));
}

void TuneRenderer::setProgram(const QString &path)
{
    std::lock_guard lock(g_lock);
    g_program = path;
}

QString TuneRenderer::synthesiser(const QString &program)
{
    {
        std::lock_guard lock(g_lock);
        const auto known = g_synthesisers.constFind(program);
        if (known != g_synthesisers.constEnd())
            return *known;
    }
    QProcess process;
    process.start(program, { QStringLiteral("--version") }, QIODevice::ReadOnly);
    QString answer;
    if (process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        answer = lastLine(process.readAllStandardOutput());
    else
        process.kill();
    std::lock_guard lock(g_lock);
    g_synthesisers.insert(program, answer);
    return answer;
}

TuneRenderer::Outcome TuneRenderer::render(const QString &program, const QString &soundFont,
    const QByteArray &midi, const std::function<bool(const QByteArray &bytes)> &take, QString *why)
{
    QProcess process;
    process.start(program, { soundFont });
    if (!process.waitForStarted(10000)) {
        *why = QStringLiteral("cannot run %1: %2").arg(program, process.errorString());
        return Outcome::Failed;
    }
    process.write(midi);
    process.closeWriteChannel();
    bool anything = false;
    bool stopped = false;
    for (;;) {
        const bool ready = process.waitForReadyRead(kSilentMsecs);
        const QByteArray bytes = process.readAllStandardOutput();
        if (!bytes.isEmpty()) {
            anything = true;
            if (!take(bytes)) {
                stopped = true;
                break;
            }
        }
        if (!ready && process.state() == QProcess::NotRunning)
            break;
        if (!ready && bytes.isEmpty()) {
            // Hung: a soundfont behind a FIFO, or a synthesiser gone round in
            // circles.
            *why = QStringLiteral("the tune renderer stopped answering");
            process.kill();
            process.waitForFinished(1000);
            return Outcome::Failed;
        }
    }
    if (stopped) {
        process.kill();
        process.waitForFinished(1000);
        return Outcome::Stopped;
    }
    process.waitForFinished(kSilentMsecs);
    // What came after the last wait.
    const QByteArray rest = process.readAllStandardOutput();
    if (!rest.isEmpty()) {
        anything = true;
        if (!take(rest))
            return Outcome::Stopped;
    }
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return Outcome::Whole;
    const QString said = lastLine(process.readAllStandardError());
    if (process.exitStatus() == QProcess::CrashExit)
        *why = QStringLiteral("the tune renderer broke off%1")
                   .arg(said.isEmpty() ? QString() : QStringLiteral(": ") + said);
    else
        *why = said.isEmpty() ? QStringLiteral("the tune renderer failed (status %1)").arg(process.exitCode())
                              : said;
    // Nothing made, and the renderer refused the soundfont or broke down
    // while loading it: another soundfont may do.
    if (!anything && (process.exitStatus() == QProcess::CrashExit || process.exitCode() == kSoundFontRefused))
        return Outcome::SoundFontRefused;
    return Outcome::Failed;
}
