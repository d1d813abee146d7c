#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The game's data files: plain text in code page 936 (GBK) with CR LF after
// every line, the last one included.
class TextFile
{
public:
    // More than this is never read: the rest of a file is ignored, so a
    // huge or hostile file cannot eat the memory.
    static constexpr qint64 kMaxReadBytes = 1024 * 1024;

    // The lines of the file, CR LF or LF alone ending each; nothing if the
    // file cannot be opened. Bytes that are not GBK still give some text
    // (replacement characters), confined to their line.
    static std::optional<QStringList> readLines(const QString &path);
    // The same for bytes already in memory, so that the decoding can be
    // exercised without a file; nothing if GBK is not available.
    static std::optional<QStringList> decodeLines(const QByteArray &bytes);

    // Replaces the file as a whole: on any failure the previous file stays
    // as it was and the error's description is handed back. Characters
    // that GBK lacks are written as "?".
    static bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
    // Removes what writeLines leaves beside `path` when the program ends
    // between naming its finished temporary file and renaming it over the
    // file: a regular file named after it with "." and six ASCII letters
    // ("save.qWzKtb"). Nothing else is touched.
    static void removeLeftovers(const QString &path);
};
