#include "AppPath.h"
#include "DLControl.h"
#include "FormUpdate.h"
#include "LocalHttpServer.h"
#include "ProgramFolder.h"
#include "ScriptedMessages.h"
#include "Twips.h"
#include "UnwritableFolder.h"
#include "UrlRecorder.h"
#include "WebAddresses.h"

#include <QFile>
#include <QLabel>
#include <QNetworkProxy>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

namespace {

QIcon mainIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::darkCyan);
    return QIcon(pixmap);
}

QString stateOf(const FormUpdate *dialog)
{
    return dialog->labelState->text();
}

} // namespace

// The update dialog over a stand-in main window, fetching from a local
// server into a temporary program folder.
class TestFormUpdate : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ProgramFolder> m_folder;
    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<QWidget> m_main;
    std::unique_ptr<ScriptedMessages> m_messages;
    UrlRecorder m_browser;

    FormUpdate *openDialog()
    {
        FormUpdate *dialog = FormUpdate::open(m_main.get());
        return dialog;
    }

    // Waits until the fetch has told its outcome (or the dialog is gone).
    static bool settled(const QPointer<FormUpdate> &dialog)
    {
        return dialog.isNull() || dialog->cmdReStart->isEnabled();
    }

    static bool labelCentred(const FormUpdate *dialog)
    {
        const QRect r = dialog->labelState->geometry();
        return qAbs((r.left() + r.right() + 1) - dialog->width()) <= 1 && r.top() == twipsToPx(240)
            && r.width() >= dialog->labelState->sizeHint().width();
    }

private slots:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void init()
    {
        m_folder = std::make_unique<ProgramFolder>();
        m_server = std::make_unique<LocalHttpServer>();
        QVERIFY(m_server->listen());
        // The whole site lies on the local server: the check must find the
        // version file below the base address.
        WebAddresses::setBase(m_server->url(QStringLiteral("/vexa/")));
        m_main = std::make_unique<QWidget>();
        m_main->setWindowIcon(mainIcon());
        m_main->setGeometry(120, 90, 601, 421);
        m_main->show();
        m_messages = std::make_unique<ScriptedMessages>();
        m_browser.opened.clear();
    }

    void cleanup()
    {
        delete FormUpdate::instance();
        WebAddresses::resetBase();
        DLControl::resetDefaultTimeout();
        m_messages.reset();
        m_main.reset();
        m_server.reset();
        m_folder.reset();
    }

    void loadsAsDesigned()
    {
        m_server->hold();
        QPointer<FormUpdate> dialog = openDialog();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Vexa Sudoku 版本验证"));
        QCOMPARE(dialog->size(), QSize(twipsToPx(3255), twipsToPx(1695)));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
        QCOMPARE(dialog->windowIcon().cacheKey(), m_main->windowIcon().cacheKey());
        QVERIFY(dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->frameGeometry().center(), m_main->frameGeometry().center());
        // Not a child of the main window, which it disables; it belongs to
        // it through the window system.
        QVERIFY(dialog->parentWidget() == nullptr);
        QCOMPARE(dialog->windowHandle()->transientParent(), m_main->windowHandle());
        QVERIFY(!m_main->isEnabled());
        QVERIFY(dialog->isEnabled());

        QCOMPARE(dialog->cmdReStart->text(), QStringLiteral("重 试"));
        QCOMPARE(dialog->cmdReStart->geometry(), twipsRect(300, 1080, 1215, 435));
        QVERIFY(dialog->cmdReStart->isDefault());
        QCOMPARE(dialog->cmdCancel->text(), QStringLiteral("取 消"));
        QCOMPARE(dialog->cmdCancel->geometry(), twipsRect(1800, 1080, 1215, 435));
        QCOMPARE(dialog->progressBar->geometry(), twipsRect(120, 600, 3015, 315));

        // The fetch began at once, from the stored address into the program folder.
        QCOMPARE(dialog->versionAddress(), m_server->url());
        QCOMPARE(dialog->DLControl1->address, m_server->url());
        QVERIFY(dialog->DLControl1->option);
        QCOMPARE(dialog->DLControl1->folder, m_folder->path());
        QCOMPARE(stateOf(dialog), QStringLiteral("  连接中 请稍候..."));
        QVERIFY(labelCentred(dialog));
        QVERIFY(!dialog->cmdReStart->isEnabled());
        QVERIFY(dialog->cmdCancel->isEnabled());
        QTRY_COMPARE(m_server->requests().size(), 1);
    }

    void opensOnceOnly()
    {
        m_server->hold();
        FormUpdate *first = openDialog();
        FormUpdate *second = openDialog();
        QCOMPARE(second, first);
        QTRY_COMPARE(m_server->requests().size(), 1);
    }

    void showsTheOutcome_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("state");
        QTest::newRow("same version") << LocalHttpServer::ok("1.0.64\r\n") << "未发现新版本";
        QTest::newRow("textually older") << LocalHttpServer::ok("1.0.100\r\nnotes") << "未发现新版本";
        QTest::newRow("older") << LocalHttpServer::ok("1.0.63") << "未发现新版本";
        QTest::newRow("empty body") << LocalHttpServer::ok({}) << "没有字节返回！";
        QTest::newRow("not found") << LocalHttpServer::response(404, "missing") << "不可下载的文件！";
        QTest::newRow("redirect") << LocalHttpServer::response(302, {}, { { "Location", "/other.htm" } })
                                  << "重定向！";
        QTest::newRow("over the cap")
            << LocalHttpServer::ok(QByteArray(DLControl::kMaxBytes + 1, '1')) << "文件保存错误！";
        QTest::newRow("cut short") << QByteArray(
            "HTTP/1.1 200 OK\r\nContent-Length: 50\r\nConnection: close\r\n\r\n1.0")
                                   << "不明错误！";
    }

    void showsTheOutcome()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, state);
        m_server->answer(answer);
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_VERIFY(settled(dialog));
        QVERIFY(dialog);
        QCOMPARE(stateOf(dialog), state);
        QVERIFY(labelCentred(dialog));
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->cmdReStart->isEnabled());
        QVERIFY(dialog->cmdCancel->isEnabled());
        // No question, nothing opened, and the main window waits.
        QCOMPARE(m_messages->count(), 0);
        QVERIFY(m_browser.opened.isEmpty());
        QVERIFY(!m_main->isEnabled());
        QCOMPARE(m_server->requests().size(), 1);
    }

    void readOnlyProgramFolderKeepsTheFileWithThePlayer()
    {
        UnwritableFolder readOnly(m_folder->path());
        if (!readOnly.holds())
            QSKIP("this system lets the test write into a read-only folder");
        m_server->answer(LocalHttpServer::ok("1.0.64\r\n"));
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_VERIFY(settled(dialog));
        // Read back from where it was saved: a failed read would say so.
        QCOMPARE(stateOf(dialog), QStringLiteral("未发现新版本"));
        QCOMPARE(dialog->DLControl1->folder, m_folder->userDataFolder());
        QVERIFY(QFile::exists(DLControl::savedFile(m_folder->userDataFolder())));
        QVERIFY(!QFile::exists(DLControl::savedFile(m_folder->path())));
    }

    void refusedConnection()
    {
        WebAddresses::setBase(QStringLiteral("http://127.0.0.1:%1/vexa/").arg(LocalHttpServer::unusedPort()));
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_VERIFY(settled(dialog));
        QCOMPARE(stateOf(dialog), QStringLiteral("不明错误！"));
        QVERIFY(dialog->isVisible());
        QVERIFY(!m_main->isEnabled());
    }

    void silentServerTimesOut()
    {
        DLControl::setDefaultTimeout(300);
        m_server->hold();
        QPointer<FormUpdate> dialog = openDialog();
        QCOMPARE(stateOf(dialog), QStringLiteral("  连接中 请稍候..."));
        QTRY_VERIFY(settled(dialog));
        QCOMPARE(stateOf(dialog), QStringLiteral("不明错误！"));
        QVERIFY(labelCentred(dialog));
    }

    void verifyingWhileTheBodyComes()
    {
        m_server->setScript({ { LocalHttpServer::Behaviour::SendAndHold,
            "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n1.0" } });
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_COMPARE(stateOf(dialog), QStringLiteral("  验证程序版本..."));
        QVERIFY(labelCentred(dialog));
        QVERIFY(!dialog->cmdReStart->isEnabled());
    }

    void retryFetchesAgain()
    {
        m_server->setScript({ { LocalHttpServer::Behaviour::Answer, LocalHttpServer::response(404, {}) },
            { LocalHttpServer::Behaviour::Answer, LocalHttpServer::ok("1.0.64\r\n") } });
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_VERIFY(settled(dialog));
        QCOMPARE(stateOf(dialog), QStringLiteral("不可下载的文件！"));
        QTest::mouseClick(dialog->cmdReStart, Qt::LeftButton);
        QCOMPARE(stateOf(dialog), QStringLiteral("  连接中 请稍候..."));
        QVERIFY(!dialog->cmdReStart->isEnabled());
        QTRY_VERIFY(settled(dialog));
        QCOMPARE(stateOf(dialog), QStringLiteral("未发现新版本"));
        QCOMPARE(m_server->requests().size(), 2);
        // And once more, after the check found nothing new.
        QTest::mouseClick(dialog->cmdReStart, Qt::LeftButton);
        QTRY_VERIFY(settled(dialog));
        QCOMPARE(stateOf(dialog), QStringLiteral("未发现新版本"));
        QCOMPARE(m_server->requests().size(), 3);
    }

    void newerVersion_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("answerToQuestion");
        QTest::addColumn<bool>("opensHome");
        QTest::newRow("newer, yes") << LocalHttpServer::ok("1.0.65\r\n") << int(MessageBox::Answer::Yes)
                                    << true;
        QTest::newRow("newer, no") << LocalHttpServer::ok("1.0.65\r\n") << int(MessageBox::Answer::No)
                                   << false;
        QTest::newRow("next minor, yes")
            << LocalHttpServer::ok("1.1.0") << int(MessageBox::Answer::Yes) << true;
        QTest::newRow("trailing blank, yes")
            << LocalHttpServer::ok("1.0.64 \r\nrest") << int(MessageBox::Answer::Yes) << true;
        QTest::newRow("trailing blank, no")
            << LocalHttpServer::ok("1.0.64 \r\nrest") << int(MessageBox::Answer::No) << false;
    }

    void newerVersion()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, answerToQuestion);
        QFETCH(bool, opensHome);
        m_server->answer(answer);
        // Asked while the dialog is out of sight and names what it found.
        QPointer<FormUpdate> dialog = openDialog();
        bool hiddenWhenAsked = false;
        QString stateWhenAsked;
        QList<MessageBox::Request> asked;
        MessageBox::setHandler([&](const MessageBox::Request &request) {
            asked << request;
            hiddenWhenAsked = dialog && !dialog->isVisible();
            stateWhenAsked = dialog ? stateOf(dialog) : QString();
            return MessageBox::Answer(answerToQuestion);
        });
        QTRY_VERIFY(dialog.isNull());
        MessageBox::setHandler({});

        QCOMPARE(asked.size(), 1);
        const MessageBox::Request &question = asked.first();
        QCOMPARE(question.icon, MessageBox::Icon::None);
        QCOMPARE(question.buttons, MessageBox::Buttons::YesNo);
        QCOMPARE(question.title, QStringLiteral("是否更新"));
        QCOMPARE(question.text, QStringLiteral("发现新版本，是否进入下载页面？"));
        QVERIFY(hiddenWhenAsked);
        QCOMPARE(stateWhenAsked, QStringLiteral("发现新版本"));
        // The home page below the same base the version file came from.
        const QList<QUrl> home { QUrl(m_server->url(QStringLiteral("/vexa/"))) };
        QCOMPARE(m_browser.opened, opensHome ? home : QList<QUrl>());
        // Unloaded either way, and the main window is the player's again.
        QVERIFY(m_main->isEnabled());
        QVERIFY(FormUpdate::instance() == nullptr);
    }

    void cancelDuringASlowAnswer()
    {
        m_server->setScript({ { LocalHttpServer::Behaviour::SendAndHold,
            "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n1.0" } });
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_COMPARE(stateOf(dialog), QStringLiteral("  验证程序版本..."));
        QVERIFY(!m_main->isEnabled());
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(m_main->isEnabled());
        QTRY_COMPARE(m_server->closedByClient(), 1);
        QCOMPARE(m_messages->count(), 0);
        QVERIFY(!QFile::exists(DLControl::savedFile(AppPath::dataFolder())));
    }

    void escapeCancels()
    {
        m_server->hold();
        QPointer<FormUpdate> dialog = openDialog();
        QSignalSpy cancelled(dialog->DLControl1, &DLControl::disconnected);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(cancelled.count(), 1);
        QVERIFY(m_main->isEnabled());
    }

    void closingTheWindowGivesBackTheMainWindow()
    {
        m_server->answer(LocalHttpServer::ok("1.0.64\r\n"));
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_VERIFY(settled(dialog));
        QVERIFY(!m_main->isEnabled());
        QSignalSpy cancelled(dialog->DLControl1, &DLControl::disconnected);
        QVERIFY(dialog->close());
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(m_main->isEnabled());
        // Only the cancel button cancels.
        QCOMPARE(cancelled.count(), 0);
    }

    void answersEveryControlEvent_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("retryEnabled");
        QTest::newRow("failed 1") << "failed 1"
                                  << "不可下载的文件！" << true;
        QTest::newRow("failed 2") << "failed 2"
                                  << "重定向！" << true;
        QTest::newRow("failed 3") << "failed 3"
                                  << "没有字节返回！" << true;
        QTest::newRow("failed 4") << "failed 4"
                                  << "文件保存错误！" << true;
        QTest::newRow("failed 99") << "failed 99"
                                   << "不明错误！" << true;
        QTest::newRow("failed 7") << "failed 7"
                                  << "" << true;
        QTest::newRow("failed 0") << "failed 0"
                                  << "" << true;
        QTest::newRow("disconnected") << "disconnected"
                                      << "已经断开" << false;
        QTest::newRow("reconnecting") << "reconnecting"
                                      << "重新连接" << false;
        QTest::newRow("verifying") << "verifying"
                                   << "  验证程序版本..." << false;
        QTest::newRow("connecting") << "connecting"
                                    << "  连接中 请稍候..." << false;
        QTest::newRow("finished 0") << "finished 0"
                                    << "版本验证失败 请重试" << true;
        // Told it was fetched, but there is no file to read.
        QTest::newRow("finished 1, no file") << "finished 1"
                                             << "版本验证失败" << true;
    }

    void answersEveryControlEvent()
    {
        QFETCH(QString, event);
        QFETCH(QString, state);
        QFETCH(bool, retryEnabled);
        m_server->hold();
        QPointer<FormUpdate> dialog = openDialog();
        QVERIFY(!dialog->cmdReStart->isEnabled());
        DLControl *control = dialog->DLControl1;
        const QStringList words = event.split(QLatin1Char(' '));
        if (words.first() == QLatin1String("failed"))
            emit control->failed(words.at(1).toInt(), QVariant());
        else if (words.first() == QLatin1String("finished"))
            emit control->finished(words.at(1).toInt());
        else if (words.first() == QLatin1String("disconnected"))
            emit control->disconnected();
        else if (words.first() == QLatin1String("reconnecting"))
            emit control->reconnecting(m_server->url());
        else if (words.first() == QLatin1String("verifying"))
            emit control->verifying();
        else
            emit control->connecting(m_server->url());
        QVERIFY(dialog);
        QCOMPARE(stateOf(dialog), state);
        QVERIFY(labelCentred(dialog));
        QCOMPARE(dialog->cmdReStart->isEnabled(), retryEnabled);
        QVERIFY(dialog->isVisible());
        QCOMPARE(m_messages->count(), 0);
    }

    void progressShowsTheDownload()
    {
        m_server->answer(LocalHttpServer::ok("1.0.64\r\n"));
        QPointer<FormUpdate> dialog = openDialog();
        // Busy until the size is known.
        QCOMPARE(dialog->progressBar->maximum(), 0);
        QTRY_VERIFY(settled(dialog));
        QCOMPARE(dialog->progressBar->value(), dialog->progressBar->maximum());
        QVERIFY(dialog->progressBar->maximum() > 0);
    }

    void publishedTextIsNeverShown()
    {
        m_server->answer(LocalHttpServer::ok("0.9 <b>beta</b>\r\n"));
        QPointer<FormUpdate> dialog = openDialog();
        QTRY_VERIFY(settled(dialog));
        QCOMPARE(stateOf(dialog), QStringLiteral("未发现新版本"));
        QCOMPARE(dialog->labelState->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(TestFormUpdate)
#include "tst_formupdate.moc"
