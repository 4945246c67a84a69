#pragma once

#include "instancerequest.h"

#include <functional>

class ClipboardManagerState;

// Carries out what later starts of the program ask the running one: the hot key's action and
// the script commands on the history.
class RemoteControl
{
public:
    explicit RemoteControl(ClipboardManagerState &state);

    InstanceReply respond(const InstanceRequest &request);

    // Set by the shell.
    std::function<void()> showBoard;
    std::function<void()> pressHotKey;
    // The clipboard holds the clipping already.
    std::function<void()> pasteIntoFrontWindow;

private:
    InstanceReply list(const QStringList &arguments) const;
    InstanceReply restore(const QStringList &arguments, bool paste);

    ClipboardManagerState &m_state;
};
