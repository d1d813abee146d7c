#include "UrlRecorder.h"

#include "UrlOpener.h"

UrlRecorder::UrlRecorder()
{
    UrlOpener::setHandler([this](const QUrl &url) {
        opened << url;
        return true;
    });
}

UrlRecorder::~UrlRecorder()
{
    UrlOpener::setHandler({});
}
