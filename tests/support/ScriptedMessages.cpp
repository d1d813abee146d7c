#include "ScriptedMessages.h"

ScriptedMessages::ScriptedMessages()
{
    MessageBox::setHandler([this](const MessageBox::Request &request) {
        m_shown.append(request);
        if (onShown)
            onShown(request);
        return m_script.isEmpty() ? request.defaultButton : m_script.takeFirst();
    });
}

ScriptedMessages::~ScriptedMessages()
{
    MessageBox::setHandler({});
}
