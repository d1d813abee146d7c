#include "FormSavePic.h"

#include "AppPath.h"
#include "BgrColor.h"
#include "BoardColors.h"
#include "BoardGeometry.h"
#include "GameState.h"
#include "MessageBox.h"
#include "PictureFile.h"
#include "Twips.h"

#include <QDir>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QSaveFile>

namespace {

// The line round the board runs along the picture's edge.
constexpr QPoint kPictureBoardOrigin(1, 1);
constexpr int kWaterMarkMargin = 30;

const QString kTitle = QStringLiteral("截取图片");

} // namespace

FormSavePic::FormSavePic(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_board(this, this, kPictureBoardOrigin)
{
    setObjectName(QStringLiteral("formSavePic"));
    setWindowTitle(QStringLiteral("截取图片"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);

    const QSize size = BoardGeometry::outline(kPictureBoardOrigin).size();
    setFixedSize(size);
    const int width = pxToTwips(size.width());
    const int height = pxToTwips(size.height());

    imgWaterMark = new QLabel(this);
    imgWaterMark->setObjectName(QStringLiteral("imgWaterMark"));
    const QImage mark = PictureFile::read(AppPath::file(QStringLiteral("\\pictures\\watermark")));
    imgWaterMark->setPixmap(QPixmap::fromImage(mark));
    const int markWidth = pxToTwips(mark.width());
    const int markHeight = pxToTwips(mark.height());
    imgWaterMark->setGeometry(twipsRect(
        width - markWidth - kWaterMarkMargin, height - markHeight - kWaterMarkMargin, markWidth, markHeight));
    imgWaterMark->raise();
}

void FormSavePic::Form_Load(const GameState &form, const QWidget *mainWindow)
{
    m_board.copyFrom(form, true);
    m_shape2Visible = form.Shape2.Visible();
    if (mainWindow) {
        QPalette own = palette();
        own.setColor(QPalette::Window, mainWindow->palette().color(QPalette::Window));
        setPalette(own);
        const QPoint main = mainWindow->frameGeometry().topLeft();
        move(main.x() + twipsToPx(form.Shape2.Left() + 20), main.y() + twipsToPx(form.Shape2.Top() + 10));
    }
    update();
}

bool FormSavePic::capture(const GameState &form, QWidget *mainWindow, const QString &folder)
{
    auto *window = new FormSavePic(mainWindow);
    window->Form_Load(form, mainWindow);
    window->show();
    const QString path = QDir(folder).filePath(QStringLiteral("picsave.bmp"));
    QString error;
    const bool saved = window->savePicture(path, &error);
    window->close();
    if (saved)
        MessageBox::information(kTitle, QStringLiteral("已保存到 ") + path);
    else
        MessageBox::critical(
            kTitle, QStringLiteral("无法保存图片到 ") + path + QStringLiteral("\r\n") + error);
    return saved;
}

bool FormSavePic::savePicture(const QString &path, QString *error)
{
    // A bitmap has no use for alpha; 24-bit pixels are what every viewer
    // reads.
    const QImage image = grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Written beside the target and renamed over it, so a failed write
    // leaves no broken picture behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "BMP");
    if (!writer.write(image)) {
        *error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

void FormSavePic::paintEvent(QPaintEvent *)
{
    if (!m_shape2Visible)
        return;
    QPainter painter(this);
    painter.setPen(toQColor(BoardColors::kBorder));
    painter.setBrush(Qt::NoBrush);
    // A one-pixel pen draws one pixel beyond the rect's size.
    painter.drawRect(BoardGeometry::outline(kPictureBoardOrigin).adjusted(0, 0, -1, -1));
}
