#include "AppPath.h"
#include "DirListBox.h"
#include "FileBytes.h"
#include "FormSavePic.h"
#include "FormSelectPath.h"
#include "GameHarness.h"

#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

namespace {

constexpr int kSize = 302;
// Where the watermark's top-left pixel lies in the picture: 30 twips in from
// the right and bottom edges of the 4530-twip window.
const QPoint kWaterMark(242, 293);
constexpr QRgb kBorder = qRgb(64, 64, 64);

template <typename T> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget *pictureWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("formSavePic"))
            return w;
    return nullptr;
}

QRgb toRgb(int bgr)
{
    return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A cell of the picture in pixels.
QRect cellRect(int index)
{
    constexpr std::array<int, 9> column { 0, 500, 990, 1500, 2000, 2490, 3000, 3500, 3995 };
    constexpr std::array<int, 9> row { 0, 495, 995, 1505, 2000, 2495, 3005, 3500, 3995 };
    return QRect((column[std::size_t(index % 9)] + 10) / 15, (row[std::size_t(index / 9)] + 10) / 15, 34, 34);
}

// The middle of a cell, a few pixels each way: a digit's ink lies there.
QRect cellMiddle(int index)
{
    return QRect(cellRect(index).center() - QPoint(4, 4), QSize(9, 9));
}

// The path window, opened by the main window's menu command on `folder`.
FormSelectPath *openPathWindow(GameHarness &game, const QString &folder)
{
    FormSelectPath *dialog = FormSelectPath::menuGame_SavePicture_Click(game.state(), &game.form());
    dialog->Dir->setPath(folder);
    return dialog;
}

// Confirms `folder` in a freshly opened path window.
void saveInto(GameHarness &game, const QString &folder)
{
    FormSelectPath *dialog = openPathWindow(game, folder);
    QCOMPARE(dialog->Dir->path(), QDir::cleanPath(folder));
    QTest::mouseClick(child<QPushButton>(dialog, "cmdEnter"), Qt::LeftButton);
    flushDeletes();
}

} // namespace

class TestSavePicture : public QObject
{
    Q_OBJECT

private slots:
    void pathWindowAsLoaded()
    {
        GameHarness game;
        FormMain &form = game.load();
        form.setWindowIcon(QIcon(QPixmap(16, 16)));
        QPointer<FormSelectPath> dialog = FormSelectPath::menuGame_SavePicture_Click(form.state(), &form);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("请选择存放路径"));
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!form.isEnabled());
        // Disabling the main window must not disable the dialog with it,
        // which belongs to it through the window system instead.
        QVERIFY(dialog->isEnabled());
        QCOMPARE(dialog->windowHandle()->transientParent(), form.windowHandle());
        QCOMPARE(dialog->windowIcon().cacheKey(), form.windowIcon().cacheKey());
        QVERIFY(!dialog->OK);
        const QRect main = form.frameGeometry();
        QCOMPARE(dialog->pos(),
            QPoint(qRound(main.left() + main.width() / 2.0 - dialog->width() / 2.0),
                qRound(main.top() + main.height() / 2.0 - dialog->height() / 2.0)));

        QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QDir(start).exists())
            start = QDir::homePath();
        QCOMPARE(dialog->Dir->path(), QDir::cleanPath(start));
        // Where the mount table does not know the folder (a chroot), the
        // list stays on the file system's root.
        const QString volume = QStorageInfo(start).rootPath();
        QCOMPARE(dialog->Drive->currentText(), volume.isEmpty() ? QDir::rootPath() : volume);
        QCOMPARE(dialog->Drive->toolTip(), QStringLiteral("选择盘符"));
        QCOMPARE(dialog->Dir->toolTip(), QStringLiteral("选择目录"));
        QCOMPARE(child<QPushButton>(dialog, "cmdEnter")->text(), QStringLiteral("确 定"));
        QCOMPARE(child<QPushButton>(dialog, "cmdCancel")->text(), QStringLiteral("取 消"));

        // Choosing a drive shows its root.
        const int root = dialog->Drive->findText(QStringLiteral("/"));
        QCOMPARE(root, 0);
        dialog->Dir->setPath(QDir::tempPath());
        dialog->Drive->setCurrentIndex(-1);
        dialog->Drive->setCurrentIndex(root);
        QCOMPARE(dialog->Dir->path(), QStringLiteral("/"));
        dialog->close();
        QVERIFY(form.isEnabled());
    }

    void driveRootsStartAtTheRoot()
    {
        const QStringList roots = FormSelectPath::driveRoots();
        QVERIFY(!roots.isEmpty());
        QCOMPARE(roots.first(), QStringLiteral("/"));
        QCOMPARE(QSet<QString>(roots.begin(), roots.end()).size(), roots.size());
        QStringList rest = roots.mid(1);
        QStringList sorted = rest;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(rest, sorted);
    }

    void savesTheBoardAsBitmap_data()
    {
        QTest::addColumn<bool>("border");
        QTest::addColumn<bool>("existing");
        QTest::newRow("without border") << false << false;
        QTest::newRow("with border, replacing a file") << true << true;
    }

    void savesTheBoardAsBitmap()
    {
        QFETCH(bool, border);
        QFETCH(bool, existing);
        GameHarness game;
        FormMain &form = game.startGame();
        const int entered = game.playerCells().first();
        game.enter(entered, QLatin1Char('4'));
        if (border)
            game.trigger(QStringLiteral("menuSetting_ShowBorder"));
        QCOMPARE(form.state().Shape2.Visible(), border);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("picsave.bmp"));
        if (existing)
            QVERIFY(FileBytes::write(path, "not a picture"));

        // The folder dialog has gone by the time the message names the file.
        bool dialogBehindMessage = false;
        game.messages.onShown = [&](const MessageBox::Request &) {
            for (QWidget *w : QApplication::topLevelWidgets())
                dialogBehindMessage = dialogBehindMessage
                    || (w->objectName() == QLatin1String("formSelectPath") && w->isVisible());
        };
        saveInto(game, folder.path());
        game.messages.onShown = {};
        QVERIFY(!dialogBehindMessage);
        QCOMPARE(FormSelectPath::strSavePath, folder.path());
        QVERIFY(form.isEnabled());
        QCOMPARE(pictureWindow(), nullptr);
        QCOMPARE(game.messages.count(), 1);
        QCOMPARE(game.messages.last().icon, MessageBox::Icon::Information);
        QCOMPARE(game.messages.last().title, QStringLiteral("截取图片"));
        QCOMPARE(game.messages.last().text, QStringLiteral("已保存到 ") + path);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(2), QByteArray("BM"));
        file.close();
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("bmp"));
        const QImage picture = reader.read();
        QCOMPARE(picture.size(), QSize(kSize, kSize));

        // Each cell in its own colour, with ink exactly where the board has a
        // digit; the entered digit keeps its colour.
        for (int i = 0; i < 81; ++i) {
            const QRect middle = cellMiddle(i);
            const QRgb back = toRgb(form.state().L(i).BackColor());
            QCOMPARE(picture.pixel(cellRect(i).topLeft() + QPoint(3, 3)), back);
            bool ink = false;
            bool ownColour = false;
            for (int y = middle.top(); y <= middle.bottom(); ++y) {
                for (int x = middle.left(); x <= middle.right(); ++x) {
                    ink = ink || qGray(picture.pixel(x, y)) < qGray(back) - 60;
                    ownColour = ownColour || picture.pixel(x, y) == toRgb(form.state().L(i).ForeColor());
                }
            }
            QVERIFY2(ink == !form.state().L(i).Caption().isEmpty(), qPrintable(QString::number(i)));
            if (i == entered)
                QVERIFY(ownColour);
        }

        // The watermark's opaque pixels, in the bottom-right corner.
        const QImage mark = QImageReader(AppPath::file(QStringLiteral("\\pictures\\watermark"))).read();
        QCOMPARE(mark.size(), QSize(58, 7));
        int opaque = 0;
        for (int y = 0; y < mark.height(); ++y) {
            for (int x = 0; x < mark.width(); ++x) {
                if (qAlpha(mark.pixel(x, y)) != 255)
                    continue;
                ++opaque;
                QCOMPARE(picture.pixel(kWaterMark + QPoint(x, y)), mark.pixel(x, y) | 0xFF000000);
            }
        }
        QVERIFY(opaque > 20);

        // The frame line round the board, only while the board shows one.
        const QRgb background = form.palette().color(QPalette::Window).rgb();
        for (const QPoint edge :
            { QPoint(0, 0), QPoint(150, 0), QPoint(0, 150), QPoint(kSize - 1, 150), QPoint(150, kSize - 1) })
            QCOMPARE(picture.pixel(edge), border ? kBorder : background);
    }

    void unwritableFolderIsReported_data()
    {
        QTest::addColumn<bool>("folderGone");
        QTest::newRow("folder removed") << true;
        QTest::newRow("picsave.bmp is a folder") << false;
    }

    void unwritableFolderIsReported()
    {
        QFETCH(bool, folderGone);
        GameHarness game;
        game.startGame();
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("pictures"));
        QVERIFY(QDir().mkpath(folder));
        const QString path = folder + QStringLiteral("/picsave.bmp");
        if (!folderGone)
            QVERIFY(QDir().mkpath(path));

        FormSelectPath *dialog = openPathWindow(game, folder);
        QPointer<FormSelectPath> guard = dialog;
        if (folderGone)
            QVERIFY(QDir(folder).removeRecursively());
        QTest::mouseClick(child<QPushButton>(dialog, "cmdEnter"), Qt::LeftButton);
        flushDeletes();

        QCOMPARE(game.messages.count(), 1);
        const MessageBox::Request &message = game.messages.last();
        QCOMPARE(message.icon, MessageBox::Icon::Critical);
        QCOMPARE(message.title, QStringLiteral("截取图片"));
        QVERIFY2(message.text.startsWith(QStringLiteral("无法保存图片到 ") + path + QStringLiteral("\r\n")),
            qPrintable(message.text));
        QVERIFY(
            message.text.size() > (QStringLiteral("无法保存图片到 ") + path + QStringLiteral("\r\n")).size());
        QCOMPARE(pictureWindow(), nullptr);
        QVERIFY(guard.isNull());
        QVERIFY(game.form().isEnabled());
        if (folderGone)
            QVERIFY(!QFileInfo::exists(folder));
        else
            QVERIFY(QFileInfo(path).isDir());
    }

    void cancelSavesNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << "cmdCancel";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("close box") << "window";
    }

    void cancelSavesNothing()
    {
        QFETCH(QString, how);
        GameHarness game;
        game.startGame();
        QTemporaryDir folder;
        FormSelectPath::strSavePath = QStringLiteral("/unchanged");
        QPointer<FormSelectPath> dialog = openPathWindow(game, folder.path());
        if (how == QLatin1String("cmdCancel"))
            QTest::mouseClick(child<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(dialog->Dir, Qt::Key_Escape);
        else
            dialog->close();
        flushDeletes();
        QVERIFY(dialog.isNull());
        QCOMPARE(game.messages.count(), 0);
        QVERIFY(QDir(folder.path()).isEmpty());
        QCOMPARE(FormSelectPath::strSavePath, QStringLiteral("/unchanged"));
        QVERIFY(game.form().isEnabled());
        QCOMPARE(pictureWindow(), nullptr);
    }

    void enterConfirms()
    {
        GameHarness game;
        game.load();
        QTemporaryDir folder;
        FormSelectPath *dialog = openPathWindow(game, folder.path());
        QTest::keyClick(dialog->Dir, Qt::Key_Return);
        flushDeletes();
        QVERIFY(QFileInfo::exists(folder.filePath(QStringLiteral("picsave.bmp"))));
        QCOMPARE(game.messages.count(), 1);
    }

    void pictureWindowLiesOverTheBoard()
    {
        GameHarness game;
        FormMain &form = game.load();
        form.move(40, 30);
        FormSavePic window(&form);
        window.Form_Load(form.state(), &form);
        QCOMPARE(window.size(), QSize(kSize, kSize));
        // Shape2 at 130,530 twips: 150 and 540 twips in, 10 and 36 pixels.
        QCOMPARE(window.pos(), QPoint(40 + 10, 30 + 36));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QWidget *mark = window.findChild<QWidget *>(QStringLiteral("imgWaterMark"));
        QVERIFY(mark);
        QCOMPARE(mark->geometry(), QRect(kWaterMark, QSize(58, 7)));
    }
};

QTEST_MAIN(TestSavePicture)
#include "tst_savepicture.moc"
