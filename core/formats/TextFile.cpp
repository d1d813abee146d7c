#include "TextFile.h"

#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace {
const char *const kCodePage = "GBK";

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// The text the game writes itself is ASCII and the grade's star, whose GBK
// bytes are these. Such lines are turned by hand: the general GBK codec
// lives in ICU, which would otherwise be paged in at every start for one
// star (about a megabyte). Any other line goes through the codec.
constexpr char kStarBytes[] = "\xA1\xEF";
constexpr char16_t kStar = u'\u2605';

std::optional<QString> decodeSimple(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const uchar c = uchar(bytes[i]);
        if (c < 0x80) {
            text += QLatin1Char(char(c));
        } else if (bytes.sliced(i).startsWith(kStarBytes)) {
            text += QChar(kStar);
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

std::optional<QByteArray> encodeSimple(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            bytes += char(c.unicode());
        else if (c == QChar(kStar))
            bytes += kStarBytes;
        else
            return std::nullopt;
    }
    return bytes;
}
} // namespace

std::optional<QStringList> TextFile::readLines(const QString &path)
{
    const std::optional<QByteArray> bytes = RegularFile::read(path, kMaxReadBytes);
    if (!bytes)
        return std::nullopt;
    return decodeLines(*bytes);
}

std::optional<QStringList> TextFile::decodeLines(const QByteArray &bytes)
{
    std::optional<QStringDecoder> decoder;
    // Split before decoding: GBK never uses LF inside a character, so this
    // is where the lines end, and a broken character at the end of one line
    // (stateless decoding) cannot swallow the start of the next.
    QList<QByteArray> pieces = bytes.split('\n');
    // A terminated last line leaves an empty piece that is no line.
    if (pieces.last().isEmpty())
        pieces.removeLast();
    QStringList lines;
    lines.reserve(pieces.size());
    for (QByteArray &piece : pieces) {
        if (piece.endsWith('\r'))
            piece.chop(1);
        if (std::optional<QString> simple = decodeSimple(piece)) {
            lines << *simple;
            continue;
        }
        if (!decoder) {
            decoder.emplace(kCodePage, QStringDecoder::Flag::Stateless);
            if (!decoder->isValid())
                return std::nullopt;
        }
        // With its LF back, a lead byte left without its second byte shows
        // as a replacement character instead of vanishing.
        piece += '\n';
        QString line = decoder->decode(piece);
        line.chop(1);
        lines << line;
    }
    return lines;
}

bool TextFile::writeLines(const QString &path, const QStringList &lines, QString *error)
{
    std::optional<QStringEncoder> encoder;
    QByteArray bytes;
    for (const QString &line : lines) {
        if (std::optional<QByteArray> simple = encodeSimple(line)) {
            bytes += *simple;
        } else {
            if (!encoder) {
                encoder.emplace(kCodePage);
                if (!encoder->isValid())
                    return fail(error, QStringLiteral("The GBK text encoding is not available"));
            }
            bytes += encoder->encode(line);
        }
        bytes += "\r\n";
    }
    // QSaveFile writes beside the target and renames only after everything
    // was written, so a crash or a full disk leaves the old file whole.
    // Unbuffered, because QSaveFile::commit() does not notice when flushing
    // its buffer stops short, and would put a cut-off file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        // A write that stops short is retried, so that the next one names
        // the error (disk full, file too large).
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            return fail(error, why);
        }
        done += n;
    }
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}

void TextFile::removeLeftovers(const QString &path)
{
    // QSaveFile's temporary name: the target's, a dot and six random letters
    // in the target's folder. Without QDir::System no FIFO or device is
    // listed, without symbolic links nothing is reached through one. The
    // names are checked here rather than by a name filter, which would load
    // the regular expression engine at every start for it.
    const QFileInfo target(path);
    const QString prefix = target.fileName() + QLatin1Char('.');
    const QFileInfoList candidates
        = target.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks | QDir::CaseSensitive);
    for (const QFileInfo &candidate : candidates) {
        const QString name = candidate.fileName();
        const QStringView tail = QStringView(name).mid(prefix.size());
        if (name.startsWith(prefix) && tail.size() == 6
            && std::all_of(tail.begin(), tail.end(), isAsciiLetter))
            QFile::remove(candidate.filePath());
    }
}
