#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariant>

class QNetworkReply;

// Fetches one small file over HTTP and saves it as folder/updateinfo.htm.
// What arrives is only ever stored as bytes: never run, never shown as a
// page. Set address, option and folder, then start(); the outcome is told
// by the signals, exactly one of finished() or failed() per start unless
// cancel() comes first.
class DLControl : public QObject
{
    Q_OBJECT
public:
    // The version file is a line or two; anything bigger is not it.
    static constexpr qint64 kMaxBytes = 64 * 1024;
    static constexpr int kDefaultTimeoutMsecs = 10000;

    // Why a fetch failed, as failed() reports it.
    enum Failure : qint32 {
        NotDownloadable = 1, // the server answered with an HTTP error
        Redirected = 2, // the server sent us elsewhere; redirects are not followed
        NoBytes = 3, // the answer was empty
        SaveError = 4, // too big for the cap, or the file could not be written
        UnknownError = 99, // no connection, host unknown, time-out, broken transfer
    };

    explicit DLControl(QObject *parent = nullptr);
    ~DLControl() override;

    // The URL to fetch.
    QString address;
    // Set before every fetch by the update dialog. A fetch always replaces
    // the saved file, so the flag changes nothing here.
    bool option = false;
    // Where the fetched file is saved.
    QString folder;

    // Begins a fetch. A fetch still running is dropped first and
    // reconnecting() tells so.
    void start();
    // Drops a running fetch: neither finished() nor failed() follows, only
    // disconnected(). Without a running fetch nothing happens.
    void cancel();
    bool isBusy() const { return !m_reply.isNull(); }

    // How long a fetch may take as a whole before it fails.
    void setTimeout(int msecs) { m_timeoutMsecs = msecs; }
    int timeout() const { return m_timeoutMsecs; }
    // The time-out new controls start with (tests shorten it).
    static void setDefaultTimeout(int msecs);
    static void resetDefaultTimeout();

    // The file a fetch into `folder` is saved as.
    static QString savedFile(const QString &folder);

signals:
    // The request was sent; carries the address.
    void connecting(const QVariant &address);
    // The server answered with success; the body follows.
    void verifying();
    // The body was saved: 1 when something was fetched, 0 when not.
    void finished(qint32 value);
    // One of the Failure codes and a description for the log.
    void failed(qint32 code, const QVariant &detail);
    // A running fetch was cancelled.
    void disconnected();
    // A running fetch was dropped to start over; carries the address.
    void reconnecting(const QVariant &address);
    // Bytes received so far and the announced total (-1 when unknown).
    void progress(qint64 received, qint64 total);

private:
    // Judges the status line and the announced length; false once failed.
    bool acceptHeaders();
    void onMetaDataChanged();
    void onReadyRead();
    void onFinished();
    void onTimeout();
    // Takes in what has arrived; false once the cap is passed.
    bool takeBody();
    bool save(QString *error) const;
    void fail(qint32 code, const QString &detail);
    // Forgets the running fetch without a word from it.
    void drop();

    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    QTimer m_timer;
    int m_timeoutMsecs;
    bool m_verified = false;
};
