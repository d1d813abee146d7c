#include "DLControl.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QUrl>

namespace {
int g_defaultTimeoutMsecs = DLControl::kDefaultTimeoutMsecs;
}

DLControl::DLControl(QObject *parent)
    : QObject(parent)
    , m_timeoutMsecs(g_defaultTimeoutMsecs)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &DLControl::onTimeout);
}

DLControl::~DLControl()
{
    drop();
}

void DLControl::setDefaultTimeout(int msecs)
{
    g_defaultTimeoutMsecs = msecs;
}

void DLControl::resetDefaultTimeout()
{
    g_defaultTimeoutMsecs = kDefaultTimeoutMsecs;
}

QString DLControl::savedFile(const QString &folder)
{
    return folder + QStringLiteral("/updateinfo.htm");
}

void DLControl::start()
{
    const bool restarting = isBusy();
    drop();
    if (restarting)
        emit reconnecting(address);

    QNetworkRequest request { QUrl(address) };
    // A redirect could lead anywhere; the version file is where we said.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    // A check that answers from a cache would never see a new version.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QNetworkReply *reply = m_manager.get(request);
    // Bounds what the network layer holds for us: past the cap we stop
    // reading anyway.
    reply->setReadBufferSize(kMaxBytes + 1);
    m_reply = reply;
    connect(reply, &QNetworkReply::metaDataChanged, this, &DLControl::onMetaDataChanged);
    connect(reply, &QNetworkReply::readyRead, this, &DLControl::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &DLControl::onFinished);
    connect(reply, &QNetworkReply::downloadProgress, this, &DLControl::progress);
    m_timer.start(m_timeoutMsecs);
    emit connecting(address);
}

void DLControl::cancel()
{
    if (!isBusy())
        return;
    drop();
    emit disconnected();
}

bool DLControl::acceptHeaders()
{
    QNetworkReply *const reply = m_reply;
    const QVariant status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        const int code = status.toInt();
        if (code >= 300 && code < 400) {
            fail(Redirected, QStringLiteral("HTTP %1").arg(code));
            return false;
        }
        if (code < 200 || code >= 400) {
            fail(NotDownloadable, QStringLiteral("HTTP %1").arg(code));
            return false;
        }
    }
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > kMaxBytes) {
        fail(SaveError,
            QStringLiteral("%1 bytes announced, at most %2 are kept")
                .arg(length.toLongLong())
                .arg(kMaxBytes));
        return false;
    }
    m_verified = true;
    emit verifying();
    // A receiver may have cancelled or started over.
    return m_reply == reply;
}

void DLControl::onMetaDataChanged()
{
    if (m_reply && !m_verified)
        acceptHeaders();
}

void DLControl::onReadyRead()
{
    if (!m_reply)
        return;
    if (!m_verified && !acceptHeaders())
        return;
    takeBody();
}

bool DLControl::takeBody()
{
    while (m_reply->bytesAvailable() > 0) {
        const QByteArray chunk = m_reply->read(kMaxBytes + 1 - m_body.size());
        if (chunk.isEmpty())
            break;
        m_body += chunk;
        if (m_body.size() > kMaxBytes) {
            fail(SaveError, QStringLiteral("more than %1 bytes").arg(kMaxBytes));
            return false;
        }
    }
    return true;
}

void DLControl::onFinished()
{
    if (!m_reply)
        return;
    // An HTTP error carries a status, and that says more than the error.
    const bool answered = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (!m_verified && answered && !acceptHeaders())
        return;
    if (m_reply->error() != QNetworkReply::NoError) {
        fail(UnknownError, m_reply->errorString());
        return;
    }
    if (!m_verified && !acceptHeaders())
        return;
    if (!takeBody())
        return;
    if (m_body.isEmpty()) {
        fail(NoBytes, QStringLiteral("empty answer"));
        return;
    }
    QString error;
    if (!save(&error)) {
        fail(SaveError, error);
        return;
    }
    drop();
    emit finished(1);
}

void DLControl::onTimeout()
{
    fail(UnknownError, QStringLiteral("no answer within %1 ms").arg(m_timeoutMsecs));
}

bool DLControl::save(QString *error) const
{
    if (folder.isEmpty()) {
        *error = QStringLiteral("no folder to save into");
        return false;
    }
    // Written beside the target and renamed when whole, so a failed write
    // leaves the previous file as it was. Unbuffered, so that a short write
    // is seen here rather than lost in commit().
    QSaveFile file(savedFile(folder));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    qint64 done = 0;
    while (done < m_body.size()) {
        const qint64 n = file.write(m_body.constData() + done, m_body.size() - done);
        if (n <= 0) {
            *error = file.errorString();
            file.cancelWriting();
            return false;
        }
        done += n;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void DLControl::fail(qint32 code, const QString &detail)
{
    drop();
    emit failed(code, detail);
}

void DLControl::drop()
{
    m_timer.stop();
    if (QNetworkReply *reply = m_reply) {
        m_reply = nullptr;
        reply->disconnect(this);
        // Deleting the reply ends its connection. abort() would too, but
        // from inside the reply's own signal it makes the reply report a
        // second error of its own.
        reply->deleteLater();
    }
    m_body.clear();
    m_verified = false;
}
