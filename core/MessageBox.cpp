#include "MessageBox.h"

#include <QDebug>

namespace {
MessageBox::Handler g_handler;
}

MessageBox::Answer MessageBox::show(const Request &request)
{
    if (g_handler)
        return g_handler(request);
    // No window system to ask: say it on the console and take the default.
    qWarning().noquote() << request.title << ":" << request.text;
    return request.defaultButton;
}

MessageBox::Answer MessageBox::critical(const QString &title, const QString &text)
{
    return show({ Icon::Critical, title, text, Buttons::Ok, Answer::Ok });
}

MessageBox::Answer MessageBox::information(const QString &title, const QString &text)
{
    return show({ Icon::Information, title, text, Buttons::Ok, Answer::Ok });
}

MessageBox::Answer MessageBox::question(const QString &title, const QString &text)
{
    return show({ Icon::Question, title, text, Buttons::YesNo, Answer::No });
}

void MessageBox::setHandler(Handler handler)
{
    g_handler = std::move(handler);
}
