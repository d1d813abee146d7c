#pragma once

#include <QString>
#include <functional>

class QObject;

// Every message box of the game goes through here, so tests can answer
// them and read what was shown. The application installs a handler that
// shows a real dialog.
class MessageBox
{
public:
    enum class Icon { Critical, Question, Exclamation, Information, None };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct Request
    {
        Icon icon = Icon::Information;
        QString title;
        QString text;
        Buttons buttons = Buttons::Ok;
        Answer defaultButton = Answer::Ok;
        // The window the message belongs to when that is not the main
        // window: the secondary window it was raised from.
        QObject *owner = nullptr;
    };

    using Handler = std::function<Answer(const Request &)>;

    static Answer show(const Request &request);
    static Answer critical(const QString &title, const QString &text);
    static Answer information(const QString &title, const QString &text);
    // Yes/No with the question icon and No as the default.
    static Answer question(const QString &title, const QString &text);

    static void setHandler(Handler handler);
};
