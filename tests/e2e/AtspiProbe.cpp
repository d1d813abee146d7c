#include "AtspiProbe.h"

#include "XSession.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

namespace {

QString script()
{
    return qEnvironmentVariable("VEXA_ATSPI_PROBE");
}

} // namespace

AtspiProbe::AtspiProbe(const XSession &session)
    : m_session(session)
    , m_pid(session.gamePid())
{ }

AtspiProbe::~AtspiProbe()
{
    if (m_watcher && m_watcher->state() != QProcess::NotRunning) {
        m_watcher->closeWriteChannel();
        if (!m_watcher->waitForFinished(3000)) {
            m_watcher->kill();
            m_watcher->waitForFinished();
        }
    }
}

QString AtspiProbe::interpreter()
{
    // pyatspi comes as a Debian package for the system's Python, which a
    // Python earlier on the PATH (pyenv, a virtual environment) cannot see.
    static const QString found = [] {
        QStringList candidates { QStringLiteral("/usr/bin/python3") };
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (!onPath.isEmpty())
            candidates << onPath;
        for (const QString &python : std::as_const(candidates)) {
            QProcess p;
            p.start(python, { QStringLiteral("-c"), QStringLiteral("import pyatspi") });
            if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
                return python;
        }
        return QString();
    }();
    return found;
}

int AtspiProbe::run(const QStringList &args, QByteArray *output) const
{
    QProcess p;
    p.setProcessEnvironment(m_session.environment());
    p.start(interpreter(), QStringList { script(), QString::number(m_pid) } + args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        m_error = QStringLiteral("the probe did not answer: ") + args.join(QLatin1Char(' '));
        return -1;
    }
    *output = p.readAllStandardOutput();
    const QByteArray errors = p.readAllStandardError();
    m_error = p.exitCode() == 0 ? QString()
                                : QStringLiteral("probe %1 ended with %2: %3")
                                      .arg(args.join(QLatin1Char(' ')))
                                      .arg(p.exitCode())
                                      .arg(QString::fromUtf8(errors.right(500)));
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

AtspiProbe::Tree AtspiProbe::tree() const
{
    QByteArray output;
    if (run({ QStringLiteral("tree") }, &output) != 0)
        return {};
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(output, &error);
    if (!document.isArray()) {
        m_error = QStringLiteral("the probe's tree is no JSON array: ") + error.errorString();
        return {};
    }
    Tree nodes;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject o = value.toObject();
        Node node;
        node.name = o.value(QStringLiteral("name")).toString();
        node.role = o.value(QStringLiteral("role")).toString();
        for (const QJsonValue &s : o.value(QStringLiteral("states")).toArray())
            node.states << s.toString();
        for (const QJsonValue &a : o.value(QStringLiteral("actions")).toArray())
            node.actions << a.toString();
        const QJsonObject box = o.value(QStringLiteral("extents")).toObject();
        node.extents = QRect(box.value(QStringLiteral("x")).toInt(), box.value(QStringLiteral("y")).toInt(),
            box.value(QStringLiteral("width")).toInt(), box.value(QStringLiteral("height")).toInt());
        node.depth = o.value(QStringLiteral("depth")).toInt();
        nodes << node;
    }
    return nodes;
}

AtspiProbe::Tree AtspiProbe::waitForTree(const std::function<bool(const Tree &)> &condition, int msecs) const
{
    QDeadlineTimer deadline(msecs);
    Tree nodes = tree();
    while (!condition(nodes) && !deadline.hasExpired()) {
        XSession::pause(200);
        nodes = tree();
    }
    return nodes;
}

bool AtspiProbe::press(const QString &name) const
{
    QByteArray output;
    return run({ QStringLiteral("press"), name }, &output) == 0
        && QJsonDocument::fromJson(output).object().value(QStringLiteral("pressed")).toBool();
}

bool AtspiProbe::watch()
{
    m_watcher = std::make_unique<QProcess>();
    m_watcher->setProcessEnvironment(m_session.environment());
    m_watcher->start(interpreter(), { script(), QString::number(m_pid), QStringLiteral("watch") });
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_watcher->state() != QProcess::NotRunning) {
        if (m_watcher->canReadLine()) {
            const QJsonObject first = QJsonDocument::fromJson(m_watcher->readLine()).object();
            return first.value(QStringLiteral("ready")).toBool();
        }
        m_watcher->waitForReadyRead(200);
    }
    m_error = QStringLiteral("the watcher did not start: ")
        + QString::fromUtf8(m_watcher->readAllStandardError().right(500));
    return false;
}

void AtspiProbe::readEvents()
{
    if (!m_watcher)
        return;
    m_watcher->waitForReadyRead(0);
    while (m_watcher->canReadLine())
        m_events << QJsonDocument::fromJson(m_watcher->readLine()).object();
}

void AtspiProbe::forgetEvents()
{
    readEvents();
    m_events.clear();
}

bool AtspiProbe::waitForEvent(const std::function<bool(const QJsonObject &)> &condition, int msecs)
{
    QDeadlineTimer deadline(msecs);
    qsizetype checked = 0;
    do {
        readEvents();
        for (; checked < m_events.size(); ++checked)
            if (condition(m_events.at(checked)))
                return true;
        if (m_watcher && m_watcher->state() != QProcess::NotRunning)
            m_watcher->waitForReadyRead(100);
        else
            XSession::pause(100);
    } while (!deadline.hasExpired());
    return false;
}

qsizetype AtspiProbe::countEvents(const std::function<bool(const QJsonObject &)> &condition) const
{
    return std::count_if(m_events.begin(), m_events.end(), condition);
}

QString AtspiProbe::recentEvents(int count) const
{
    QStringList lines;
    for (qsizetype i = qMax<qsizetype>(0, m_events.size() - count); i < m_events.size(); ++i)
        lines << QString::fromUtf8(QJsonDocument(m_events.at(i)).toJson(QJsonDocument::Compact));
    return lines.join(QLatin1Char('\n'));
}
