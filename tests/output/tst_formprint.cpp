#include "BoardColors.h"
#include "CellLabel.h"
#include "CellLabelView.h"
#include "FormPrint.h"
#include "GameHarness.h"
#include "ModuleGameSetting.h"
#include "PrintQueue.h"
#include "Twips.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWhite = BoardColors::kPaper;
// The preview's columns and rows in twips, inside Frame2, which lies at
// 120,120 in the window.
constexpr std::array<int, 9> kColumnLeft { 195, 690, 1185, 1695, 2190, 2685, 3195, 3690, 4185 };
constexpr std::array<int, 9> kRowTop { 1395, 1890, 2385, 2895, 3390, 3885, 4395, 4890, 5385 };
constexpr int kFrame2 = 120;
constexpr int kDpi = 50;

template <typename T> T *child(FormPrint *window, const char *name)
{
    T *widget = window->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qWarning("no %s", name);
    return widget;
}

bool shown(QWidget *widget)
{
    return widget && !widget->isHidden();
}

// Removes the print window's own deferred deletion from the queue, so
// closing it can be checked with a QPointer.
void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Starts a game and fills two player cells, one of them in bold, so the
// board has given digits, player digits and empty cells.
void startWithTwoEntries(GameHarness &game)
{
    game.startGame();
    const QList<int> player = game.playerCells();
    QVERIFY(player.size() > 2);
    game.enter(player.at(0), QLatin1Char('5'));
    game.enter(player.at(1), QLatin1Char('7'));
}

// The print window, opened by the main window's menu command on a freshly
// loaded game window.
FormPrint *openPrintWindow(GameHarness &game)
{
    FormMain &form = game.load();
    return FormPrint::menuGame_Print_Click(form.state(), &form);
}

// After printing, or failing to, the window is as it was before.
void checkWindowAsBefore(FormPrint *window)
{
    QVERIFY(window->isVisible());
    for (const char *name : { "Frame1", "labelPrinter", "cmdPrint", "cmdClose", "Frame2Caption" })
        QVERIFY2(shown(window->findChild<QWidget *>(QString::fromLatin1(name))), name);
    QCOMPARE(child<QFrame>(window, "Frame2")->frameShape(), QFrame::Box);
}

// The page as pixels, 50 per inch, with the geometry of the print on it.
struct PrintedPage
{
    QImage image;

    // Where a point of the window (twips) lands: the client area printed at
    // its natural size, centred on the page.
    QPoint at(int x, int y) const
    {
        const double left = (image.width() - FormPrint::kWidth * kDpi / 1440.0) / 2.0;
        const double top = (image.height() - FormPrint::kHeight * kDpi / 1440.0) / 2.0;
        return QPoint(qRound(left + x * kDpi / 1440.0), qRound(top + y * kDpi / 1440.0));
    }

    int darkest(const QRect &area) const
    {
        int value = 255;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                value = qMin(value, qGray(image.pixel(x, y)));
        return value;
    }

    // The middle of a preview cell, a few pixels each way: a digit's ink
    // lies there, the grid lines do not.
    QRect cellMiddle(int index) const
    {
        const QPoint centre = at(kFrame2 + kColumnLeft[std::size_t(index % 9)] + 255,
            kFrame2 + kRowTop[std::size_t(index / 9)] + 255);
        return QRect(centre - QPoint(3, 3), QSize(7, 7));
    }
};

} // namespace

class TestFormPrint : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { FormPrint::setPdfOutput(QString()); }

    void previewCopiesTheBoard()
    {
        GameHarness game;
        startWithTwoEntries(game);
        FormMain &form = game.form();
        game.trigger(QStringLiteral("menuSetting_FontBold"));
        // The board is shaded and the player's digits are coloured; the
        // preview keeps the colours of the digits but not of the cells.
        QVERIFY(form.state().menuSetting_PieceColor.Checked());
        form.state().L(0).setFontSize(17);
        game.sound.clear();

        FormPrint *window = FormPrint::menuGame_Print_Click(form.state(), &form);
        QVERIFY(window);
        QCOMPARE(game.sound.effects(), QStringList { QStringLiteral("D_bubble.wav") });
        QCOMPARE(form.state().MousePointer(), GameState::kPointerDefault);
        int coloured = 0;
        for (int i = 0; i < FormPrint::kCells; ++i) {
            const CellLabel &cell = window->L(i);
            QCOMPARE(cell.Caption(), form.state().L(i).Caption());
            QCOMPARE(cell.ForeColor(), form.state().L(i).ForeColor());
            QCOMPARE(cell.FontBold(), form.state().L(i).FontBold());
            QCOMPARE(cell.FontSize(), form.state().L(i).FontSize());
            QCOMPARE(cell.BackColor(), kWhite);
            QVERIFY(cell.FontBold());
            coloured += !cell.Caption().isEmpty() && cell.ForeColor() != 0 ? 1 : 0;
        }
        QCOMPARE(coloured, 2);
        QCOMPARE(window->L(0).FontSize(), 17);
        QCOMPARE(window->cellView(40)->size(), QSize(34, 34));
        QCOMPARE(window->cellView(80)->geometry(), twipsRect(4185, 5385, 510, 510));
        window->close();
    }

    void windowAsLoaded_data()
    {
        QTest::addColumn<bool>("putOnFront");
        QTest::newRow("put on front") << true;
        QTest::newRow("not on front") << false;
    }

    void windowAsLoaded()
    {
        QFETCH(bool, putOnFront);
        GameHarness game;
        FormMain &form = game.load();
        if (!putOnFront)
            game.trigger(QStringLiteral("menuSetting_PutOnFront"));
        QCOMPARE(form.state().menuSetting_PutOnFront.Checked(), putOnFront);
        form.move(100, 80);

        FormPrint *window = FormPrint::menuGame_Print_Click(form.state(), &form);
        QCOMPARE(window->windowTitle(), QStringLiteral("数独 VEXA SUDOKU 迷题打印"));
        QCOMPARE(window->size(), QSize(473, 423));
        QVERIFY(window->isVisible());
        QVERIFY(!form.isVisible());
        QCOMPARE(bool(window->windowFlags() & Qt::WindowStaysOnTopHint), putOnFront);
        QVERIFY(window->windowFlags() & Qt::Tool);
        // Centred on the main window.
        QCOMPARE(window->pos(),
            QPoint(
                qRound(100 + form.width() / 2.0 - 473 / 2.0), qRound(80 + form.height() / 2.0 - 423 / 2.0)));

        QCOMPARE(child<QLabel>(window, "labelTime")->text(), QStringLiteral("2026年 12月 08日 10:00:00"));
        QVERIFY(shown(child<QLabel>(window, "picLogo")));
        QVERIFY(!child<QLabel>(window, "picLogo")->pixmap().isNull());
        QVERIFY(!shown(child<QLabel>(window, "labelTitle")));
        QCOMPARE(child<QLabel>(window, "labelTitle")->text(), QStringLiteral("来源： Vexa sudoku 数独 I"));
        QVERIFY(shown(child<QLabel>(window, "labelTime")));
        QVERIFY(!shown(child<QFrame>(window, "Shape1")));
        QVERIFY(child<QCheckBox>(window, "chkLogo")->isChecked());
        QVERIFY(child<QCheckBox>(window, "chkTime")->isChecked());
        QVERIFY(!child<QCheckBox>(window, "chkBorder")->isChecked());
        QVERIFY(!child<QCheckBox>(window, "chkColorPiece")->isChecked());
        QCOMPARE(child<QPushButton>(window, "cmdPrint")->text(), QStringLiteral("打印"));
        QCOMPARE(child<QPushButton>(window, "cmdClose")->text(), QStringLiteral("关闭"));
        QCOMPARE(child<QGroupBox>(window, "Frame1")->title(), QStringLiteral("打印设置"));
        QCOMPARE(child<QLabel>(window, "Frame2Caption")->text().trimmed(), QStringLiteral("打印预览"));

        const QString printer = child<QLabel>(window, "labelPrinter")->text();
        if (!PrintQueue::choose(PrintQueue::printers())) {
            QCOMPARE(printer, QString());
        } else {
            QCOMPARE(printer.split(QStringLiteral("\r\n")).size(), 8);
            QVERIFY(printer.startsWith(QStringLiteral("打印机信息：\r\n")));
        }
        window->close();
        QVERIFY(form.isVisible());
    }

    void printerTextIsEmptyWithoutPrinter() { QCOMPARE(FormPrint::printerText(std::nullopt), QString()); }

    void timeTextPadsEveryField_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("text");
        QTest::newRow("single digits")
            << QDateTime(QDate(2006, 3, 7), QTime(4, 5, 9)) << QStringLiteral("2006年 03月 07日 04:05:09");
        QTest::newRow("afternoon") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))
                                   << QStringLiteral("2026年 12月 31日 23:59:58");
    }

    void timeTextPadsEveryField()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, text);
        QCOMPARE(FormPrint::timeText(when), text);
    }

    void windowIsPulledOntoTheScreen()
    {
        GameHarness game;
        FormMain &form = game.load();
        const QSize screen = form.screen()->geometry().size();
        // Centring on a main window near the bottom-right corner would put
        // the print window partly off the screen.
        form.move(screen.width() - 60, screen.height() - 40);
        FormPrint *window = FormPrint::menuGame_Print_Click(form.state(), &form);
        // Once shown and framed, the frame too lies on the screen.
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(window->frameGeometry().bottomRight(), QPoint(screen.width() - 1, screen.height() - 1));
        QVERIFY(window->frameGeometry() != window->geometry());
        // Placed; from here on only a mouse move pulls it back.

        // Moved off at the top-left, a mouse move over it brings it back.
        window->move(-50, -30);
        QCOMPARE(window->pos(), QPoint(-50, -30));
        QTest::mouseMove(window, QPoint(window->width() - 5, window->height() - 5));
        QCOMPARE(window->pos(), QPoint(0, 0));
        window->move(screen.width() - 100, 10);
        QTest::mouseMove(window, QPoint(window->width() - 5, window->height() - 5));
        // Now shown, the window's frame counts too.
        QCOMPARE(window->pos(), QPoint(screen.width() - window->frameGeometry().width(), 10));
        window->close();
    }

    void logoAndTitleTakeTurns()
    {
        GameHarness game;
        FormPrint *window = openPrintWindow(game);
        auto *logo = child<QLabel>(window, "picLogo");
        auto *title = child<QLabel>(window, "labelTitle");
        auto *chkLogo = child<QCheckBox>(window, "chkLogo");
        for (const bool expectLogo : { false, true, false }) {
            QTest::mouseClick(chkLogo, Qt::LeftButton, {}, QPoint(5, chkLogo->height() / 2));
            QCOMPARE(chkLogo->isChecked(), expectLogo);
            QCOMPARE(shown(logo), expectLogo);
            QCOMPARE(shown(title), !expectLogo);
        }
        window->close();
    }

    void optionsShowAndHide_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("startsShown");
        QTest::newRow("time") << "chkTime"
                              << "labelTime" << true;
        QTest::newRow("border") << "chkBorder"
                                << "Shape1" << false;
    }

    void optionsShowAndHide()
    {
        QFETCH(QString, box);
        QFETCH(QString, target);
        QFETCH(bool, startsShown);
        GameHarness game;
        FormPrint *window = openPrintWindow(game);
        auto *check = window->findChild<QCheckBox *>(box);
        auto *widget = window->findChild<QWidget *>(target);
        QVERIFY(check && widget);
        QCOMPARE(shown(widget), startsShown);
        for (const bool expect : { !startsShown, startsShown }) {
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
            QCOMPARE(check->isChecked(), expect);
            QCOMPARE(shown(widget), expect);
        }
        window->close();
    }

    void colourBlocksShadeTheEdgeBoxes()
    {
        GameHarness game;
        FormMain &form = game.load();
        // The preview takes the piece colour even while the board has its
        // shading switched off.
        game.trigger(QStringLiteral("menuSetting_PieceColor"));
        QVERIFY(!form.state().menuSetting_PieceColor.Checked());
        form.state().lPieceColorValue = QString::number(0x3355AA);
        FormPrint *window = FormPrint::menuGame_Print_Click(form.state(), &form);
        auto *box = child<QCheckBox>(window, "chkColorPiece");

        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QList<int> shaded;
        for (int i = 0; i < FormPrint::kCells; ++i) {
            if (window->L(i).BackColor() == 0x3355AA)
                shaded << i;
            else
                QCOMPARE(window->L(i).BackColor(), kWhite);
        }
        QList<int> expected(
            std::begin(ModuleGameSetting::kPieceCells), std::end(ModuleGameSetting::kPieceCells));
        std::sort(expected.begin(), expected.end());
        QCOMPARE(shaded, expected);
        QCOMPARE(shaded.size(), 36);

        // Off whitens every cell, not only the 36.
        window->L(0).setBackColor(0x123456);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        for (int i = 0; i < FormPrint::kCells; ++i)
            QCOMPARE(window->L(i).BackColor(), kWhite);
        window->close();
    }

    void printsThePreviewOnOnePage()
    {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is needed to read the printed page");
        GameHarness game;
        startWithTwoEntries(game);
        FormMain &form = game.form();
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("page.pdf"));
        FormPrint::setPdfOutput(pdf);
        FormPrint *window = FormPrint::menuGame_Print_Click(form.state(), &form);
        // Shaded boxes must not hide the grid or the digits.
        auto *colour = child<QCheckBox>(window, "chkColorPiece");
        QTest::mouseClick(colour, Qt::LeftButton, {}, QPoint(5, colour->height() / 2));
        QTest::mouseClick(child<QPushButton>(window, "cmdPrint"), Qt::LeftButton);
        QCOMPARE(game.messages.count(), 0);

        QProcess render;
        render.start(pdftoppm,
            { QStringLiteral("-png"), QStringLiteral("-r"), QString::number(kDpi), pdf,
                out.filePath(QStringLiteral("page")) });
        QVERIFY(render.waitForFinished(60000));
        QCOMPARE(render.exitCode(), 0);
        const QStringList pages = QDir(out.path()).entryList({ QStringLiteral("page*.png") });
        QCOMPARE(pages.size(), 1);
        PrintedPage page { QImage(out.filePath(pages.first())) };
        QVERIFY(!page.image.isNull());
        QVERIFY(page.image.height() > page.image.width());

        // Every cell's middle: ink where the board has a digit (the player's
        // are green, so lighter), paper or the light shading where it has none.
        for (int i = 0; i < FormPrint::kCells; ++i) {
            const int ink = page.darkest(page.cellMiddle(i));
            if (form.state().L(i).Caption().isEmpty())
                QVERIFY2(ink >= 225,
                    qPrintable(QStringLiteral("cell %1 is blank but printed %2").arg(i).arg(ink)));
            else
                QVERIFY2(ink < 200, qPrintable(QStringLiteral("cell %1 has no digit: %2").arg(i).arg(ink)));
        }
        // The grid: every line between two columns crosses the middle row.
        const int rowMiddle = kFrame2 + kRowTop[4] + 255;
        for (int k = 1; k < 9; ++k) {
            const QPoint line = page.at(kFrame2 + kColumnLeft[std::size_t(k)], rowMiddle);
            QVERIFY2(
                page.darkest(QRect(line - QPoint(1, 0), QSize(3, 1))) < 200, qPrintable(QString::number(k)));
        }
        // The settings, the printer text and the buttons stay off the paper,
        // and so does the window's grey.
        const QPoint from = page.at(5160, 120);
        const QPoint to = page.at(FormPrint::kWidth, FormPrint::kHeight);
        QCOMPARE(page.darkest(QRect(from, to - QPoint(1, 1))), 255);
        // The logo and the date are printed above the board.
        QVERIFY(page.darkest(
                    QRect(page.at(kFrame2 + 755, kFrame2 + 300), page.at(kFrame2 + 4250, kFrame2 + 1050)))
            < 128);
        QVERIFY(page.darkest(
                    QRect(page.at(kFrame2 + 1380, kFrame2 + 1080), page.at(kFrame2 + 3000, kFrame2 + 1300)))
            < 128);

        checkWindowAsBefore(window);
        window->close();
    }

    void printerFailureIsReported_data()
    {
        QTest::addColumn<bool>("noPrinter");
        QTest::newRow("file cannot be created") << false;
        QTest::newRow("no printer") << true;
    }

    void printerFailureIsReported()
    {
        QFETCH(bool, noPrinter);
        if (noPrinter && PrintQueue::choose(PrintQueue::printers()))
            QSKIP("this machine has a printer, which would really print");
        GameHarness game;
        FormMain &form = game.load();
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("missing/folder/page.pdf"));
        if (!noPrinter)
            FormPrint::setPdfOutput(pdf);
        FormPrint *window = FormPrint::menuGame_Print_Click(form.state(), &form);
        QTest::mouseClick(child<QPushButton>(window, "cmdPrint"), Qt::LeftButton);

        QCOMPARE(game.messages.count(), 1);
        const MessageBox::Request &message = game.messages.last();
        QCOMPARE(message.title, QStringLiteral("Vexa Sudoku"));
        QCOMPARE(message.buttons, MessageBox::Buttons::Ok);
        QCOMPARE(message.icon, MessageBox::Icon::None);
        QVERIFY(message.text.contains(noPrinter ? QStringLiteral("打印机") : pdf));
        QVERIFY(!QFile::exists(pdf));
        // The window stays open, with every control back.
        checkWindowAsBefore(window);
        QVERIFY(!form.isVisible());
        window->close();
    }

    void closingShowsTheMainWindow_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close button") << "cmdClose";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("close box") << "window";
    }

    void closingShowsTheMainWindow()
    {
        QFETCH(QString, how);
        GameHarness game;
        FormMain &form = game.load();
        QPointer<FormPrint> window = FormPrint::menuGame_Print_Click(form.state(), &form);
        QVERIFY(!form.isVisible());
        if (how == QLatin1String("cmdClose"))
            QTest::mouseClick(child<QPushButton>(window, "cmdClose"), Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(child<QCheckBox>(window, "chkTime"), Qt::Key_Escape);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(child<QCheckBox>(window, "chkTime"), Qt::Key_Return);
        else
            window->close();
        flushDeletes();
        QVERIFY(window.isNull());
        QVERIFY(form.isVisible());
    }

    void enterOnTheFocusedPrintButtonPrints()
    {
        GameHarness game;
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("page.pdf"));
        FormPrint::setPdfOutput(pdf);
        QPointer<FormPrint> window = openPrintWindow(game);
        auto *print = child<QPushButton>(window, "cmdPrint");
        print->setFocus();
        QTest::keyClick(print, Qt::Key_Return);
        QVERIFY(QFileInfo(pdf).size() > 0);
        flushDeletes();
        QVERIFY(!window.isNull());
        window->close();
    }

    void pressesThatMoveTheWindow_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("moves");
        QTest::newRow("background") << "" << true;
        QTest::newRow("preview frame") << "Frame2" << true;
        QTest::newRow("logo") << "picLogo" << true;
        QTest::newRow("printer text") << "labelPrinter" << true;
        QTest::newRow("cell") << "L(40)" << false;
        QTest::newRow("date") << "labelTime" << false;
    }

    void pressesThatMoveTheWindow()
    {
        QFETCH(QString, where);
        QFETCH(bool, moves);
        GameHarness game;
        FormPrint *window = openPrintWindow(game);
        window->move(100, 50);
        QWidget *target = where.isEmpty() ? window : window->findChild<QWidget *>(where);
        QVERIFY(target);
        // A point on the widget itself, clear of any child.
        const QPoint grab = where.isEmpty() ? QPoint(2, window->height() - 2) : QPoint(2, 2);
        QCOMPARE(target->childAt(grab), nullptr);
        const QPointF to = GameHarness::pressAndDrag(target, grab, QPointF(30, 20));
        QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFromGlobal(to.toPoint()));
        QCOMPARE(window->pos(), moves ? QPoint(130, 70) : QPoint(100, 50));
        window->close();
    }
};

QTEST_MAIN(TestFormPrint)
#include "tst_formprint.moc"
