#pragma once

#include "store/keyring.h"

#include <QObject>
#include <chrono>

// The Secret Service keyring of the desktop session, through QtKeychain. A call that gets no
// answer in time is answered as unavailable; its job runs on to its end and deletes itself,
// since the backend may still call into it.
class SecretServiceKeyring final : public Keyring
{
public:
    // A keyring that wants the user to unlock it may take a while.
    explicit SecretServiceKeyring(
        std::chrono::milliseconds answerTimeout = std::chrono::seconds(30));

    void read(const QString &key, std::function<void(Entry)> answer) override;
    void write(const QString &key, const QByteArray &value,
               std::function<void(bool)> answer) override;

private:
    std::chrono::milliseconds m_answerTimeout;
    // Context of every answer: once it is gone, jobs that end later reach nothing.
    QObject m_answers;
};
