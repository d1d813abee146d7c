#include "FormAbout.h"
#include "FormCopyright.h"
#include "FormHelp.h"
#include "FormSelectPath.h"
#include "FormUpdate.h"
#include "GameHarness.h"
#include "LocalHttpServer.h"
#include "ModuleInfo.h"
#include "PopupHarness.h"
#include "UrlRecorder.h"
#include "WebAddresses.h"

#include <QLabel>
#include <QNetworkProxy>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

// The commands as the real main window runs them.
class TestModuleInfo : public QObject
{
    Q_OBJECT

private:
    UrlRecorder m_browser;

private slots:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void init() { m_browser.opened.clear(); }

    void cleanup()
    {
        delete FormHelp::instance();
        delete FormUpdate::instance();
        WebAddresses::resetBase();
    }

    void popupsOpenOverTheMainWindow_data()
    {
        QTest::addColumn<bool>("about");
        QTest::addColumn<bool>("mainOnTop");
        QTest::newRow("about") << true << false;
        QTest::newRow("about, main window on top") << true << true;
        QTest::newRow("copyright") << false << false;
        QTest::newRow("copyright, main window on top") << false << true;
    }

    void popupsOpenOverTheMainWindow()
    {
        QFETCH(bool, about);
        QFETCH(bool, mainOnTop);
        GameHarness h;
        FormMain &form = h.load();
        if (form.state().menuSetting_PutOnFront.Checked() != mainOnTop)
            form.setTopMost(mainOnTop);
        h.sound.clear();
        if (about)
            ModuleInfo::menuAbout_AboutMe_Click(form.state(), &form);
        else
            ModuleInfo::menuAbout_Copyright_Click(form.state(), &form);

        FramedPopup *popup = about ? static_cast<FramedPopup *>(form.findChild<FormAbout *>())
                                   : static_cast<FramedPopup *>(form.findChild<FormCopyright *>());
        QVERIFY(popup);
        QPointer<FramedPopup> guard = popup;
        QVERIFY(popup->isVisible());
        QVERIFY(popup->isWindow());
        QVERIFY(popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(popup->frameGeometry().topLeft(),
            PopupHarness::centredOn(form.frameGeometry(), popup->frameGeometry().size()));
        QCOMPARE(h.sound.effects(), QStringList { "D_bubble.wav" });
        // Not modal: the main window can be used, and using it closes the popup.
        QVERIFY(form.isEnabled());
        QVERIFY(QTest::qWaitForWindowActive(popup));
        form.activateWindow();
        QTRY_VERIFY(guard.isNull());
    }

    void helpOpensBesideTheMainWindow()
    {
        GameHarness h;
        FormMain &form = h.load();
        ModuleInfo::menuAbout_Help_Click(form.state(), &form);
        QPointer<FormHelp> help = FormHelp::instance();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("数独")));
        ModuleInfo::menuAbout_Help_Click(form.state(), &form);
        QCOMPARE(FormHelp::instance(), help.data());
        QVERIFY(form.isEnabled());

        // The dialogs that hold the main window leave the help usable.
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.hold();
        WebAddresses::setBase(server.url(QStringLiteral("/vexa/")));
        ModuleInfo::menuGame_SoftUpdata_Click(form.state(), &form);
        QVERIFY(!form.isEnabled());
        QVERIFY(help->isEnabled());
        FormUpdate::instance()->cmdCancel->click();
        QTRY_VERIFY(form.isEnabled());
        FormSelectPath *folder = FormSelectPath::menuGame_SavePicture_Click(form.state(), &form);
        QVERIFY(!form.isEnabled());
        QVERIFY(help->isEnabled());
        folder->cmdCancel_Click();
        QVERIFY(form.isEnabled());
    }

    void updateInfoOpensTheUpdatePage()
    {
        GameHarness h;
        h.load();
        ModuleInfo::menuAbout_UpdateInfo_Click(h.state(), &h.form());
        // Below the base address the build was configured with.
        const QString base = QStringLiteral(VEXA_TEST_WEB_BASE);
        QVERIFY(base.endsWith(QLatin1Char('/')));
        QCOMPARE(m_browser.opened, QList<QUrl> { QUrl(base + QStringLiteral("update.htm")) });
        QCOMPARE(WebAddresses::versionFile(), base + QStringLiteral("updateinfo.htm"));
        QCOMPARE(WebAddresses::homePage(), base);
    }

    void updateCheckHoldsTheMainWindow()
    {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.answer(LocalHttpServer::ok("1.0.64\r\n"));
        WebAddresses::setBase(server.url(QStringLiteral("/vexa")));
        GameHarness h;
        FormMain &form = h.load();
        ModuleInfo::menuGame_SoftUpdata_Click(form.state(), &form);
        QPointer<FormUpdate> dialog = FormUpdate::instance();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QVERIFY(!form.isEnabled());
        QCOMPARE(dialog->windowIcon().cacheKey(), form.windowIcon().cacheKey());
        QCOMPARE(dialog->frameGeometry().center(), form.frameGeometry().center());
        QTRY_VERIFY(dialog->cmdReStart->isEnabled());
        QCOMPARE(dialog->labelState->text(), QStringLiteral("未发现新版本"));
        // Fetched into the program folder.
        QCOMPARE(h.file(QStringLiteral("updateinfo.htm")), QByteArray("1.0.64\r\n"));
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        QVERIFY(form.isEnabled());
    }
};

QTEST_MAIN(TestModuleInfo)
#include "tst_moduleinfo.moc"
