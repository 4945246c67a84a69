#pragma once

#include "keyboard/globalhotkey.h"

// Where the desktop lets no program register a key: the user binds the hot key command in the
// desktop's settings, and the program only says how.
class DesktopCommandHotKey final : public GlobalHotKey
{
public:
    explicit DesktopCommandHotKey(QString instruction) : m_instruction(std::move(instruction)) {}

    Registration registerHotKey(std::function<void()>) override
    {
        return Registration::Unavailable;
    }
    QString route() const override { return m_instruction; }

private:
    QString m_instruction;
};
