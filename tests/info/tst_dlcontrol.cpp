#include "DLControl.h"
#include "FileBytes.h"
#include "LocalHttpServer.h"

#include <QFile>
#include <QNetworkProxy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A control that fetches from a local server into a temporary folder,
// and everything it told, one entry per signal ("failed 4").
class Fetch : public QObject
{
public:
    LocalHttpServer server;
    QTemporaryDir folder;
    QStringList events;
    QStringList addresses;
    // Last, so that it goes first, while what it tells can still be kept.
    DLControl control;

    Fetch()
    {
        control.folder = folder.path();
        connect(&control, &DLControl::connecting, this, [this](const QVariant &a) {
            events << QStringLiteral("connecting");
            addresses << a.toString();
        });
        connect(&control, &DLControl::verifying, this, [this] { events << QStringLiteral("verifying"); });
        connect(&control, &DLControl::finished, this,
            [this](qint32 value) { events << QStringLiteral("finished %1").arg(value); });
        connect(&control, &DLControl::failed, this,
            [this](qint32 code, const QVariant &) { events << QStringLiteral("failed %1").arg(code); });
        connect(
            &control, &DLControl::disconnected, this, [this] { events << QStringLiteral("disconnected"); });
        connect(&control, &DLControl::reconnecting, this, [this](const QVariant &a) {
            events << QStringLiteral("reconnecting");
            addresses << a.toString();
        });
    }

    // Starts the server and points the control at it.
    bool listen()
    {
        if (!server.listen())
            return false;
        control.address = server.url();
        return true;
    }

    QString savedFile() const { return DLControl::savedFile(folder.path()); }

    // An outcome has been told.
    bool done() const
    {
        for (const QString &e : events)
            if (e.startsWith(QLatin1String("finished")) || e.startsWith(QLatin1String("failed")))
                return true;
        return false;
    }
};

const QByteArray kOldFile = "1.0.1\r\nfrom an earlier check\r\n";

} // namespace

class TestDLControl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Straight to the local server, whatever the environment says.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    }

    void cleanup() { DLControl::resetDefaultTimeout(); }

    void outcomeOfAnAnswer_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("oneRequest");

        const QStringList fetched { "connecting", "verifying", "finished 1" };
        QTest::newRow("newer version") << LocalHttpServer::ok("1.0.65\r\n") << fetched << true << true;
        QTest::newRow("same version") << LocalHttpServer::ok("1.0.64\r\n") << fetched << true << true;
        QTest::newRow("textually older") << LocalHttpServer::ok("1.0.100\r\n") << fetched << true << true;
        QTest::newRow("trailing blank") << LocalHttpServer::ok("1.0.64 \r\nrest") << fetched << true << true;
        QTest::newRow("no line end") << LocalHttpServer::ok("1.0.65") << fetched << true << true;
        QTest::newRow("exactly the cap")
            << LocalHttpServer::ok(QByteArray(DLControl::kMaxBytes, 'x')) << fetched << true << true;
        QTest::newRow("cap without length")
            << LocalHttpServer::response(200, QByteArray(DLControl::kMaxBytes, 'x'), {}, false) << fetched
            << true << true;

        QTest::newRow("empty body") << LocalHttpServer::ok({})
                                    << QStringList { "connecting", "verifying", "failed 3" } << false << true;
        QTest::newRow("not found") << LocalHttpServer::response(404, "<h1>Not Found</h1>")
                                   << QStringList { "connecting", "failed 1" } << false << true;
        QTest::newRow("forbidden") << LocalHttpServer::response(403, {})
                                   << QStringList { "connecting", "failed 1" } << false << true;
        QTest::newRow("server error") << LocalHttpServer::response(500, "oops")
                                      << QStringList { "connecting", "failed 1" } << false << true;
        QTest::newRow("redirect") << LocalHttpServer::response(302, {}, { { "Location", "/elsewhere.htm" } })
                                  << QStringList { "connecting", "failed 2" } << false << true;
        QTest::newRow("permanent redirect")
            << LocalHttpServer::response(301, "moved", { { "Location", "http://127.0.0.1:1/x" } })
            << QStringList { "connecting", "failed 2" } << false << true;
        QTest::newRow("announced over the cap")
            << LocalHttpServer::ok(QByteArray(DLControl::kMaxBytes + 1, 'x'))
            << QStringList { "connecting", "failed 4" } << false << true;
        QTest::newRow("far over the cap, unannounced")
            << LocalHttpServer::response(200, QByteArray(1024 * 1024, 'x'), {}, false)
            << QStringList { "connecting", "verifying", "failed 4" } << false << true;
        QTest::newRow("one byte over the cap, unannounced")
            << LocalHttpServer::response(200, QByteArray(DLControl::kMaxBytes + 1, 'x'), {}, false)
            << QStringList { "connecting", "verifying", "failed 4" } << false << true;
        QTest::newRow("cut short") << QByteArray(
            "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n1.0.65")
                                   << QStringList { "connecting", "verifying", "failed 99" } << false << true;
        // The network layer may send the request again when no HTTP answer came.
        QTest::newRow("not HTTP") << QByteArray("1.0.65\r\n") << QStringList { "connecting", "failed 99" }
                                  << false << false;
    }

    void outcomeOfAnAnswer()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QStringList, events);
        QFETCH(bool, saved);
        QFETCH(bool, oneRequest);

        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.answer(answer);
        QVERIFY(FileBytes::write(fetch.savedFile(), kOldFile));
        fetch.control.option = true;
        fetch.control.start();
        QTRY_VERIFY(fetch.done());
        QCOMPARE(fetch.events, events);
        QCOMPARE(fetch.addresses, QStringList { fetch.server.url() });
        QVERIFY(!fetch.control.isBusy());

        // Only the one request: a redirect is not followed.
        const QList<QByteArray> &requests = fetch.server.requests();
        QVERIFY(!requests.isEmpty());
        if (oneRequest)
            QCOMPARE(requests.size(), 1);
        for (const QByteArray &request : requests)
            QCOMPARE(request, QByteArray("GET /vexa/updateinfo.htm HTTP/1.1"));
        if (saved) {
            const QByteArray body = answer.mid(answer.indexOf("\r\n\r\n") + 4);
            QCOMPARE(FileBytes::read(fetch.savedFile()), body);
        } else {
            // A failed fetch leaves the last good file whole.
            QCOMPARE(FileBytes::read(fetch.savedFile()), kOldFile);
        }
        // Nothing is told twice or late.
        QTest::qWait(50);
        QCOMPARE(fetch.events, events);
    }

    void savedAsUpdateinfoInTheFolder()
    {
        QCOMPARE(
            DLControl::savedFile(QStringLiteral("/opt/vexa")), QStringLiteral("/opt/vexa/updateinfo.htm"));
        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.answer(LocalHttpServer::ok("1.0.65\r\n"));
        fetch.control.start();
        QTRY_VERIFY(fetch.done());
        QCOMPARE(QDir(fetch.folder.path()).entryList(QDir::Files), QStringList { "updateinfo.htm" });
    }

    void refusedConnectionFails()
    {
        const quint16 port = LocalHttpServer::unusedPort();
        QVERIFY(port != 0);
        Fetch fetch;
        fetch.control.address = QStringLiteral("http://127.0.0.1:%1/vexa/updateinfo.htm").arg(port);
        fetch.control.start();
        QTRY_VERIFY(fetch.done());
        QCOMPARE(fetch.events, (QStringList { "connecting", "failed 99" }));
        QVERIFY(!QFile::exists(fetch.savedFile()));
    }

    void unwritableFolderFails()
    {
        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.answer(LocalHttpServer::ok("1.0.65\r\n"));
        fetch.control.folder = fetch.folder.filePath(QStringLiteral("no/such/folder"));
        fetch.control.start();
        QTRY_VERIFY(fetch.done());
        QCOMPARE(fetch.events, (QStringList { "connecting", "verifying", "failed 4" }));
    }

    void silentServerTimesOut()
    {
        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.hold();
        fetch.control.setTimeout(300);
        fetch.control.start();
        QTRY_VERIFY(fetch.done());
        QCOMPARE(fetch.events, (QStringList { "connecting", "failed 99" }));
        // The connection is given up, not left hanging.
        QTRY_COMPARE(fetch.server.closedByClient(), 1);
    }

    void stalledBodyTimesOut()
    {
        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.setScript({ { LocalHttpServer::Behaviour::SendAndHold,
            "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n1.0." } });
        fetch.control.setTimeout(300);
        fetch.control.start();
        QTRY_VERIFY(fetch.done());
        QCOMPARE(fetch.events, (QStringList { "connecting", "verifying", "failed 99" }));
        QVERIFY(!QFile::exists(fetch.savedFile()));
    }

    void timeOutDefaults()
    {
        QCOMPARE(DLControl().timeout(), 10000);
        DLControl::setDefaultTimeout(300);
        QCOMPARE(DLControl().timeout(), 300);
        DLControl::resetDefaultTimeout();
        QCOMPARE(DLControl().timeout(), DLControl::kDefaultTimeoutMsecs);
    }

    void cancelDuringASlowAnswerIsSilent()
    {
        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.setScript({ { LocalHttpServer::Behaviour::SendAndHold,
            "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n1.0.65\r\n" } });
        fetch.control.start();
        QTRY_COMPARE(fetch.events, (QStringList { "connecting", "verifying" }));
        fetch.control.cancel();
        QVERIFY(!fetch.control.isBusy());
        QCOMPARE(fetch.events, (QStringList { "connecting", "verifying", "disconnected" }));
        // Once the server has seen the connection go, nothing more comes.
        QTRY_COMPARE(fetch.server.closedByClient(), 1);
        QTest::qWait(50);
        QCOMPARE(fetch.events, (QStringList { "connecting", "verifying", "disconnected" }));
        QVERIFY(!QFile::exists(fetch.savedFile()));
    }

    void cancelBeforeAnyAnswer()
    {
        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.hold();
        fetch.control.start();
        fetch.control.cancel();
        QCOMPARE(fetch.events, (QStringList { "connecting", "disconnected" }));
        // Cancelling again, with nothing running, says nothing.
        fetch.control.cancel();
        QTest::qWait(50);
        QCOMPARE(fetch.events, (QStringList { "connecting", "disconnected" }));
    }

    void startingAgainDropsTheRunningFetch()
    {
        Fetch fetch;
        QVERIFY(fetch.listen());
        fetch.server.setScript({ { LocalHttpServer::Behaviour::Hold, {} },
            { LocalHttpServer::Behaviour::Answer, LocalHttpServer::ok("1.0.64\r\n") } });
        fetch.control.start();
        QTRY_COMPARE(fetch.server.requests().size(), 1);
        fetch.control.start();
        QTRY_VERIFY(fetch.done());
        QCOMPARE(fetch.events,
            (QStringList { "connecting", "reconnecting", "connecting", "verifying", "finished 1" }));
        QTRY_COMPARE(fetch.server.closedByClient(), 1);
        QTest::qWait(50);
        QCOMPARE(fetch.events.size(), 5);
        QCOMPARE(FileBytes::read(fetch.savedFile()), QByteArray("1.0.64\r\n"));
    }

    void destroyingAFetchingControlIsSafe()
    {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.hold();
        QTemporaryDir folder;
        auto control = std::make_unique<DLControl>();
        control->address = server.url();
        control->folder = folder.path();
        control->start();
        QTRY_COMPARE(server.requests().size(), 1);
        control.reset();
        QTRY_COMPARE(server.closedByClient(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDLControl)
#include "tst_dlcontrol.moc"
