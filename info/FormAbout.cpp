#include "FormAbout.h"

#include "AppPath.h"
#include "BgrColor.h"
#include "CjkFont.h"
#include "PictureFile.h"
#include "Twips.h"
#include "UrlOpener.h"
#include "VersionCheck.h"
#include "WebAddresses.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

namespace {
const QString kName = QStringLiteral("Vexa Sudoku 数独");
}

FormAbout::FormAbout(QWidget *parent)
    : FramedPopup(kWidth, kHeight, parent)
{
    setObjectName(QStringLiteral("formAbout"));
    setWindowTitle(QStringLiteral("关于软件"));

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(180, 180, 3495, 750));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Picture1->setCursor(Qt::PointingHandCursor);
    Picture1->setToolTip(QStringLiteral("点击进入我们的网站"));
    Picture1->installEventFilter(this);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(300, 1080, 3375, 1335));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setFont(CjkFont::song(9));
}

QStringList FormAbout::textLines()
{
    return { QStringLiteral("Bug有限，乐趣无限。"), QString(),
        QStringLiteral("软件版本：") + VersionCheck::localVersion(), QString(),
        QStringLiteral("软件制作：Lumbrook Studio"), QString(),
        QStringLiteral("本软件为免费软件，欢迎自由使用和传播。"), QString(),
        QStringLiteral("意见和建议请到我们的网站留言。") };
}

QString FormAbout::text()
{
    return textLines().join(QStringLiteral("\r\n"));
}

void FormAbout::load(const QRect &mainRect)
{
    loadFrame(mainRect);

    QPalette window = palette();
    window.setColor(QPalette::Window, Qt::white);
    setPalette(window);
    setAutoFillBackground(true);

    QPalette box = Text1->palette();
    box.setColor(QPalette::Text, toQColor(kTextColor));
    box.setColor(QPalette::Base, Qt::white);
    Text1->setPalette(box);
    // The text keeps its CR LF; the box breaks lines at LF alone.
    QString shown = text();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Text1->setPlainText(shown);

    Picture1->setPixmap(logoPicture());
}

QPixmap FormAbout::logoPicture() const
{
    const QSize box = Picture1->size();
    QPixmap canvas(box);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    QImage logo = PictureFile::read(AppPath::file(QStringLiteral("\\pictures\\about")));
    if (logo.isNull())
        logo = PictureFile::read(AppPath::file(QStringLiteral("\\pictures\\logo")));
    painter.setFont(CjkFont::song(12, true));
    painter.setPen(QColor(64, 64, 64));
    if (logo.isNull()) {
        // Without its picture the box still shows whose site it leads to.
        painter.drawText(QRect(QPoint(0, 0), box), Qt::AlignCenter | Qt::TextWordWrap, kName);
        return canvas;
    }
    if (logo.height() > box.height() || logo.width() > box.width())
        logo = logo.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(0, (box.height() - logo.height()) / 2, logo);
    // A picture that leaves room beside it gets the program's name there.
    const int textLeft = logo.width() + 8;
    if (textLeft < box.width() - 8) {
        painter.drawText(QRect(textLeft, 0, box.width() - textLeft, box.height()),
            Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, kName);
    }
    return canvas;
}

void FormAbout::Picture1_Click()
{
    UrlOpener::open(QUrl(WebAddresses::homePage()));
}

bool FormAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Picture1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        // A click is a press and a release on the picture.
        if (mouse->button() == Qt::LeftButton && Picture1->rect().contains(mouse->position().toPoint())) {
            Picture1_Click();
            return true;
        }
    }
    return FramedPopup::eventFilter(watched, event);
}
