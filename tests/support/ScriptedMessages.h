#pragma once

#include "MessageBox.h"

#include <QList>
#include <functional>

// Installs itself as the message-box handler for its lifetime: records
// every box shown and answers from a script (the default button when the
// script is empty).
class ScriptedMessages
{
public:
    ScriptedMessages();
    ~ScriptedMessages();

    void answerNext(MessageBox::Answer answer) { m_script.append(answer); }
    const QList<MessageBox::Request> &shown() const { return m_shown; }
    int count() const { return int(m_shown.size()); }
    const MessageBox::Request &last() const { return m_shown.last(); }
    void clear() { m_shown.clear(); }
    // Called as each box shows, to look at the windows around it.
    std::function<void(const MessageBox::Request &)> onShown;

private:
    QList<MessageBox::Request> m_shown;
    QList<MessageBox::Answer> m_script;
};
