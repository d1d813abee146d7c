#pragma once

#include <QTextBrowser>

// The help window's page view. It reads every file a page needs (the page,
// its style sheet, its pictures) itself, and only from regular files: a
// FIFO or a device in the help folder counts as a missing file instead of
// stopping the game.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    // A page, a style sheet or a picture of the help is never near this.
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override;
};
