#include "SkinWriter.h"

#include "ButtonPainter.h"
#include "CurFile.h"
#include "HandCursor.h"
#include "PenCursor.h"
#include "PicturePainter.h"
#include "TitleBarPainter.h"

#include <QImageReader>
#include <array>

namespace {

const QString kSkin = QStringLiteral("interface/black");

} // namespace

SkinWriter::SkinWriter(const QString &dataDir)
    : m_data(dataDir)
    , m_out(stdout)
    , m_err(stderr)
{ }

bool SkinWriter::writeAll()
{
    if (!m_data.exists()) {
        m_err << "make_skin: no such folder " << m_data.path() << "\n";
        return false;
    }
    return makeFolder(kSkin) && makeFolder(QStringLiteral("ico")) && makeFolder(QStringLiteral("pictures"))
        && writeButtons() && writeTitleBar() && writeCursors() && writePictures();
}

bool SkinWriter::writeButtons()
{
    struct Button
    {
        const char *name;
        QString caption;
    };
    const std::array<Button, 6> buttons { {
        { "start", QStringLiteral("开始") },
        { "continue", QStringLiteral("继续") },
        { "save", QStringLiteral("存盘") },
        { "next", QStringLiteral("下一题") },
        { "finish", QStringLiteral("完成") },
        { "exit", QStringLiteral("退出") },
    } };
    // The file suffix is the state number the game asks for.
    const std::array<std::pair<char, ButtonPainter::State>, 3> states { {
        { '1', ButtonPainter::State::Normal },
        { '2', ButtonPainter::State::Hover },
        { '3', ButtonPainter::State::Sunken },
    } };
    const QSize size(ButtonPainter::kWidth, ButtonPainter::kHeight);
    for (const Button &b : buttons) {
        for (const auto &[suffix, state] : states) {
            const QString path = kSkin + '/' + QLatin1String(b.name) + QLatin1Char(suffix);
            if (!save(path, ButtonPainter::paint(b.caption, state), size))
                return false;
        }
    }
    return true;
}

bool SkinWriter::writeTitleBar()
{
    const int h = TitleBarPainter::kHeight;
    // The title is drawn from x = 2 of the 421 or 469 pixel wide window.
    return save(kSkin + "/titleshort", TitleBarPainter::title(419), QSize(419, h))
        && save(kSkin + "/titlelong", TitleBarPainter::title(467), QSize(467, h))
        && save(
            kSkin + "/titleleft1", TitleBarPainter::menuButton(false), QSize(TitleBarPainter::kMenuWidth, h))
        && save(
            kSkin + "/titleleft2", TitleBarPainter::menuButton(true), QSize(TitleBarPainter::kMenuWidth, h))
        && save(kSkin + "/close1", TitleBarPainter::closeButton(false), QSize(35, 15))
        && save(kSkin + "/close2", TitleBarPainter::closeButton(true), QSize(35, 15))
        && save(kSkin + "/minimize1", TitleBarPainter::minimizeButton(false), QSize(25, 15))
        && save(kSkin + "/minimize2", TitleBarPainter::minimizeButton(true), QSize(25, 15))
        && save(kSkin + "/putonfront1", TitleBarPainter::pin(false), QSize(15, 15))
        && save(kSkin + "/putonfront2", TitleBarPainter::pin(true), QSize(15, 15))
        && save(kSkin + "/musicplay", TitleBarPainter::musicButton(false), QSize(15, 15))
        && save(kSkin + "/musicstop", TitleBarPainter::musicButton(true), QSize(15, 15));
}

bool SkinWriter::writeCursors()
{
    return writeCursor(QStringLiteral("ico/pen"), PenCursor::image(), PenCursor::hotSpot())
        && writeCursor(QStringLiteral("ico/hand"), HandCursor::image(), HandCursor::hotSpot());
}

bool SkinWriter::writeCursor(const QString &name, const QImage &image, QPoint hotSpot)
{
    const QString path = m_data.filePath(name);
    QString error;
    if (!CurFile::write(path, image, hotSpot, &error)) {
        m_err << "make_skin: " << path << ": " << error << "\n";
        return false;
    }
    // Read it back the way the game does, with no name suffix to go by, so a
    // cursor Qt cannot load is caught here rather than at run time.
    QImageReader reader(path);
    const QImage back = reader.read();
    if (back.isNull() || back.size() != image.size()) {
        m_err << "make_skin: " << path << ": written cursor does not read back: " << reader.errorString()
              << "\n";
        return false;
    }
    const QImage expected = image.convertToFormat(QImage::Format_ARGB32);
    const QImage got = back.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (expected.pixel(x, y) != got.pixel(x, y)) {
                m_err << "make_skin: " << path << ": pixel " << x << "," << y << " differs on reading back\n";
                return false;
            }
        }
    }
    m_out << name << ": cursor " << image.width() << "x" << image.height() << ", hot spot " << hotSpot.x()
          << "," << hotSpot.y() << ", read back as \"" << QImageReader::imageFormat(path) << "\"\n";
    return true;
}

bool SkinWriter::writePictures()
{
    using P = PicturePainter;
    return save(QStringLiteral("pictures/splash"), P::splash(), QSize(P::kSplashWidth, P::kSplashHeight))
        && save(QStringLiteral("pictures/watermark"), P::watermark(),
            QSize(P::kWatermarkWidth, P::kWatermarkHeight))
        && save(QStringLiteral("pictures/logo"), P::logo(64), QSize(64, 64))
        && save(QStringLiteral("pictures/about"), P::logo(100), QSize(100, 100))
        && save(QStringLiteral("pictures/printlogo"), P::printLogo(),
            QSize(P::kPrintLogoWidth, P::kPrintLogoHeight));
}

bool SkinWriter::save(const QString &relativePath, const QImage &image, QSize expected)
{
    const QString path = m_data.filePath(relativePath);
    if (image.size() != expected) {
        m_err << "make_skin: " << relativePath << " came out " << image.width() << "x" << image.height()
              << "\n";
        return false;
    }
    // Plain ARGB32 keeps colours exact in the file, whatever premultiplied
    // rounding the painting went through.
    if (!image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
        m_err << "make_skin: cannot write " << path << "\n";
        return false;
    }
    m_out << relativePath << ": " << image.width() << "x" << image.height() << "\n";
    return true;
}

bool SkinWriter::makeFolder(const QString &relativePath)
{
    if (m_data.mkpath(relativePath))
        return true;
    m_err << "make_skin: cannot create " << m_data.filePath(relativePath) << "\n";
    return false;
}
