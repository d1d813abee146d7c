#include "FormHelp.h"
#include "ProgramFolder.h"
#include "ScriptedMessages.h"
#include "UrlRecorder.h"

#include <QDir>
#include <QDirIterator>
#include <QPointer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QtTest>

namespace {

QString helpSource()
{
    return QStringLiteral(VEXA_TEST_SOURCE_DATA "/help");
}

QStringList helpPages()
{
    QStringList pages;
    QDirIterator it(helpSource(), { QStringLiteral("*.html"), QStringLiteral("*.htm") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        pages << it.next();
    pages.sort();
    return pages;
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(file.readAll());
    return utf8.hasError() ? QString() : text;
}

// href and src values of a page.
QStringList linksOf(const QString &html)
{
    static const QRegularExpression link(QStringLiteral("\\b(?:href|src)\\s*=\\s*[\"']([^\"']*)[\"']"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    auto it = link.globalMatch(html);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

bool hasAnchor(const QString &html, const QString &name)
{
    const QString quoted = QRegularExpression::escape(name);
    return QRegularExpression(QStringLiteral("\\b(?:id|name)\\s*=\\s*[\"']%1[\"']").arg(quoted))
        .match(html)
        .hasMatch();
}

} // namespace

class TestFormHelp : public QObject
{
    Q_OBJECT

private:
    UrlRecorder m_browser;

private slots:
    void init() { m_browser.opened.clear(); }

    void cleanup() { delete FormHelp::instance(); }

    void opensTheStartPage()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        ScriptedMessages messages;
        QWidget main;
        main.setGeometry(100, 100, 500, 400);
        main.show();
        QPointer<FormHelp> help = FormHelp::open(&main);
        QVERIFY(help);
        QCOMPARE(messages.count(), 0);
        QVERIFY(help->isVisible());
        QVERIFY(help->isWindow());
        QCOMPARE(help->windowTitle(), QStringLiteral("Vexa Sudoku 帮助"));
        QVERIFY(!help->isModal());
        QCOMPARE(FormHelp::indexFile(), folder.file(QStringLiteral("help/index.html")));
        QCOMPARE(
            help->browser()->source(), QUrl::fromLocalFile(folder.file(QStringLiteral("help/index.html"))));
        const QString shown = help->browser()->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("数独")), qPrintable(shown.left(200)));
        QVERIFY(shown.contains(QStringLiteral("帮助")));
        QVERIFY(!help->browser()->openExternalLinks());
        // The main window stays usable beside it.
        QVERIFY(main.isEnabled());
    }

    void oneWindowServesEveryRequest()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        QWidget main;
        QPointer<FormHelp> first = FormHelp::open(&main);
        QVERIFY(first);
        first->showPage(QUrl::fromLocalFile(folder.file(QStringLiteral("help/rules.html"))));
        first->showMinimized();
        QPointer<FormHelp> second = FormHelp::open(&main);
        QCOMPARE(second.data(), first.data());
        QVERIFY(!second->isMinimized());
        // The page the player was reading stays.
        QVERIFY(second->browser()->source().path().endsWith(QLatin1String("rules.html")));
        int windows = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            windows += qobject_cast<FormHelp *>(w) ? 1 : 0;
        QCOMPARE(windows, 1);
        // Once closed, the next request opens a fresh one on the start page.
        second->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(FormHelp::instance() == nullptr);
        QPointer<FormHelp> third = FormHelp::open(&main);
        QVERIFY(third);
        QVERIFY(third->browser()->source().path().endsWith(QLatin1String("index.html")));
    }

    void missingHelpIsReported()
    {
        ProgramFolder folder;
        ScriptedMessages messages;
        QWidget main;
        QVERIFY(FormHelp::open(&main) == nullptr);
        QCOMPARE(messages.count(), 1);
        QCOMPARE(messages.last().icon, MessageBox::Icon::Critical);
        QCOMPARE(messages.last().title, QStringLiteral("出错"));
        QCOMPARE(messages.last().text,
            QStringLiteral("找不到帮助文件：") + folder.file(QStringLiteral("help/index.html")));
        QVERIFY(FormHelp::instance() == nullptr);
        QVERIFY(main.findChildren<FormHelp *>().isEmpty());
    }

    void linksAreFollowedInside_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("page"); // empty: stays where it was
        QTest::newRow("another page") << "rules.html"
                                      << "rules.html";
        QTest::newRow("another page at an anchor") << "menu.html#settings"
                                                   << "menu.html";
        QTest::newRow("anchor on the page") << "#contents"
                                            << "index.html";
        QTest::newRow("web address") << "https://lumbrook.example/vexa/"
                                     << "index.html";
        QTest::newRow("mail") << "mailto:someone@lumbrook.example"
                              << "index.html";
        QTest::newRow("missing page") << "nothing-here.html"
                                      << "index.html";
    }

    void linksAreFollowedInside()
    {
        QFETCH(QString, link);
        QFETCH(QString, page);
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        QPointer<FormHelp> help = FormHelp::open(nullptr);
        QVERIFY(help);
        emit help->browser()->anchorClicked(QUrl(link));
        QVERIFY(help->browser()->source().isLocalFile());
        QCOMPARE(QFileInfo(help->browser()->source().toLocalFile()).fileName(), page);
        QVERIFY(m_browser.opened.isEmpty());
        QVERIFY(!help->browser()->toPlainText().isEmpty());
    }

    void everyPageIsPlainUtf8Html()
    {
        const QStringList pages = helpPages();
        QVERIFY(pages.size() >= 3);
        QVERIFY(pages.contains(helpSource() + QStringLiteral("/index.html")));
        for (const QString &page : pages) {
            const QString html = readText(page);
            QVERIFY2(!html.isEmpty(), qPrintable(page + ": empty or not UTF-8"));
            QVERIFY2(html.contains(QStringLiteral("charset=\"utf-8\""), Qt::CaseInsensitive)
                    || html.contains(QStringLiteral("charset=utf-8"), Qt::CaseInsensitive),
                qPrintable(page));
            QVERIFY2(!html.contains(QStringLiteral("<script"), Qt::CaseInsensitive), qPrintable(page));
            QVERIFY2(html.contains(QStringLiteral("lang=\"zh-CN\"")), qPrintable(page));
        }
    }

    void everyLinkResolves()
    {
        const QDir data(QStringLiteral(VEXA_TEST_SOURCE_DATA));
        int checked = 0;
        for (const QString &page : helpPages()) {
            const QString html = readText(page);
            const QDir here = QFileInfo(page).dir();
            for (const QString &link : linksOf(html)) {
                const QString where = page + QStringLiteral(": ") + link;
                QVERIFY2(!link.isEmpty(), qPrintable(where));
                // The help is read offline.
                QVERIFY2(!link.contains(QLatin1Char(':')), qPrintable(where));
                const qsizetype hash = link.indexOf(QLatin1Char('#'));
                const QString file = hash < 0 ? link : link.left(hash);
                const QString anchor = hash < 0 ? QString() : link.mid(hash + 1);
                const QString target = file.isEmpty() ? page : QDir::cleanPath(here.filePath(file));
                QVERIFY2(QFileInfo(target).isFile(), qPrintable(where));
                // Nothing outside the program's own folder.
                QVERIFY2(target.startsWith(data.path() + QLatin1Char('/')), qPrintable(where));
                if (!anchor.isEmpty())
                    QVERIFY2(hasAnchor(readText(target), anchor), qPrintable(where));
                ++checked;
            }
        }
        QVERIFY(checked > 10);
    }

    void everyPageCanBeReachedFromTheStart()
    {
        QSet<QString> reached { helpSource() + QStringLiteral("/index.html") };
        QStringList queue(reached.begin(), reached.end());
        while (!queue.isEmpty()) {
            const QString page = queue.takeFirst();
            const QDir here = QFileInfo(page).dir();
            for (const QString &link : linksOf(readText(page))) {
                const QString file = link.section(QLatin1Char('#'), 0, 0);
                if (!file.endsWith(QLatin1String(".html")))
                    continue;
                const QString target = QDir::cleanPath(here.filePath(file));
                if (!reached.contains(target)) {
                    reached.insert(target);
                    queue << target;
                }
            }
        }
        for (const QString &page : helpPages())
            QVERIFY2(reached.contains(page), qPrintable(page));
    }

    void helpNamesEveryCommand()
    {
        QString all;
        for (const QString &page : helpPages())
            all += readText(page);
        const QStringList needed { "开始", "Ctrl+B", "继续", "Ctrl+C", "存盘", "Ctrl+S", "擦除重做", "Ctrl+R",
            "重置游戏", "复制到剪贴板", "保存为图片", "打印", "下一题", "Ctrl+N", "难度选择", "初级", "普通",
            "高级", "完成", "Ctrl+F", "显示数字提示", "显示十字提示", "增强色块", "显示边框", "粗体显示数字",
            "播放背景音乐", "Osmira", "HappyGM", "Waltz", "开始播放", "Ctrl+P", "停止播放", "退出时自动记录",
            "置于前端", "成绩", "帮助", "F1", "版权声明", "关于软件", "更新信息", "更新验证", "Ctrl+U",
            "退出", "Ctrl+F4", "Esc", "picsave.bmp", "setting", "grade", "save", "最快用时" };
        for (const QString &word : needed)
            QVERIFY2(all.contains(word), qPrintable(word));
    }
};

QTEST_MAIN(TestFormHelp)
#include "tst_formhelp.moc"
