#include "BoardColors.h"
#include "BoardGeometry.h"
#include "CellLabelView.h"
#include "FormMain.h"
#include "ProgramFolder.h"
#include "Twips.h"

#include <QFile>
#include <QtTest>

class TestFormMain : public QObject
{
    Q_OBJECT

private slots:
    void cellsLieAtTheirDesignedPlaces()
    {
        ProgramFolder folder;
        FormMain form;
        form.Form_Load();
        QCOMPARE(formMain, &form);
        for (int i = 0; i < 81; ++i) {
            const QRect r = form.cellView(i)->geometry();
            QCOMPARE(r.x(), twipsToPx(BoardGeometry::kColumnLeft[std::size_t(i % 9)]));
            QCOMPARE(r.y(), twipsToPx(BoardGeometry::kRowTop[std::size_t(i / 9)]));
            QCOMPARE(r.size(), QSize(34, 34));
            QCOMPARE(form.cellView(i)->objectName(), QStringLiteral("L(%1)").arg(i));
        }
        QCOMPARE(form.size(), QSize(421, 349));
    }

    void neighboursShareOneLineInsideABoxAndTwoBetweenBoxes()
    {
        FormMain form;
        for (int k = 0; k < 8; ++k) {
            const QRect left = form.cellView(k)->geometry();
            const QRect right = form.cellView(k + 1)->geometry();
            const QRect upper = form.cellView(k * 9)->geometry();
            const QRect lower = form.cellView(k * 9 + 9)->geometry();
            const bool boxEdge = k % 3 == 2;
            // Overlapping by one pixel merges two borders into one line;
            // touching leaves the double line that marks a box.
            QCOMPARE(right.left() - left.right(), boxEdge ? 1 : 0);
            QCOMPARE(lower.top() - upper.bottom(), boxEdge ? 1 : 0);
        }
    }

    void cellsDrawTheirState()
    {
        FormMain form;
        CellLabel &cell = form.state().L(40);
        QVERIFY(!form.cellView(40)->isEnabled());
        cell.setEnabled(true);
        QVERIFY(form.cellView(40)->isEnabled());

        cell.setCaption(QStringLiteral("7"));
        cell.setForeColor(BoardColors::kPlayer);
        cell.setBackColor(BoardColors::kShading);
        const QImage image = form.cellView(40)->grab().toImage();
        // Background in the piece colour, a black border, green digit pixels.
        QCOMPARE(image.pixelColor(3, 3), QColor(230, 230, 230));
        QCOMPARE(image.pixelColor(0, 17), QColor(0, 0, 0));
        bool green = false;
        for (int y = 0; y < image.height() && !green; ++y)
            for (int x = 1; x < image.width() - 1 && !green; ++x)
                green = image.pixelColor(x, y).green() > 150 && image.pixelColor(x, y).red() < 120;
        QVERIFY(green);
    }

    void newWindowHoldsTheDesignedColours()
    {
        ProgramFolder folder;
        FormMain form;
        form.Form_Load();
        const GameState &state = form.state();
        QCOMPARE(state.lColorValue, QString::number(BoardColors::kHint));
        QCOMPARE(state.lEmptyColorValue, QString::number(BoardColors::kPlayer));
        QCOMPARE(state.lPieceColorValue, QString::number(BoardColors::kShading));
        QCOMPARE(state.lNumericalTimeTrueColor, QString::number(BoardColors::kNumberHintComplete));
        QCOMPARE(state.IsContinuedGame, qint16(0));
        for (int i = 0; i < 81; ++i) {
            QVERIFY(state.L(i).Caption().isEmpty());
            QCOMPARE(state.L(i).ForeColor(), 0);
        }
    }

    void pointersComeFromTheProgramFolder()
    {
        ProgramFolder folder(ProgramFolder::Content::CopyOfBuild);
        {
            // The pen's hot spot moved in the file: the pointer follows it.
            QFile pen(folder.file(QStringLiteral("ico/pen")));
            QVERIFY(pen.open(QIODevice::ReadWrite) && pen.seek(10));
            QCOMPARE(pen.write(QByteArray("\x05\x00\x07\x00", 4)), 4);
        }
        const QStringList handed { QStringLiteral("cmdStart"), QStringLiteral("cmdContinue"),
            QStringLiteral("cmdSave"), QStringLiteral("cmdNext"), QStringLiteral("cmdFinished"),
            QStringLiteral("cmdExit"), QStringLiteral("picTitleLeft"), QStringLiteral("picClose"),
            QStringLiteral("picMinimize"), QStringLiteral("picPutOnFront"), QStringLiteral("picMusicPlay"),
            QStringLiteral("picMusicStop") };
        {
            FormMain form;
            form.Form_Load();
            const QList<QWidget *> penned { form.cellView(0), form.cellView(80),
                form.view(QStringLiteral("txtEnter")) };
            for (QWidget *widget : penned) {
                QCOMPARE(widget->cursor().shape(), Qt::BitmapCursor);
                QCOMPARE(widget->cursor().hotSpot(), QPoint(5, 7));
                QCOMPARE(widget->cursor().pixmap().size(), QSize(32, 32));
            }
            for (const QString &name : handed) {
                const QCursor hand = form.view(name)->cursor();
                QVERIFY2(hand.shape() == Qt::BitmapCursor && hand.pixmap().size() == QSize(32, 32),
                    qPrintable(name));
            }
            // The title image keeps the window's pointer.
            QVERIFY(!form.view(QStringLiteral("picTitle"))->testAttribute(Qt::WA_SetCursor));
        }
        // Without the files the arrow shows, and nothing is said.
        QVERIFY(QFile::remove(folder.file(QStringLiteral("ico/pen"))));
        QVERIFY(QFile::remove(folder.file(QStringLiteral("ico/hand"))));
        FormMain form;
        form.Form_Load();
        QCOMPARE(form.cellView(0)->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(form.view(QStringLiteral("cmdStart"))->cursor().shape(), Qt::ArrowCursor);
    }

    void busyPointerFollowsTheState()
    {
        FormMain form;
        form.state().setMousePointer(GameState::kPointerHourglass);
        QCOMPARE(form.cursor().shape(), Qt::WaitCursor);
        form.state().setMousePointer(GameState::kPointerDefault);
        QCOMPARE(form.state().MousePointer(), GameState::kPointerDefault);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
