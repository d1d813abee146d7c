#pragma once

#include <QList>
#include <QUrl>

// Stands in for the desktop's browser while it lives: every address the
// game hands to UrlOpener is recorded instead of opened, and counts as
// opened.
class UrlRecorder
{
public:
    UrlRecorder();
    ~UrlRecorder();
    Q_DISABLE_COPY(UrlRecorder)

    QList<QUrl> opened;
};
