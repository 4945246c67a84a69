#pragma once

#include <QByteArray>
#include <QString>

// A small tmpfs over a folder while it lives, so that a test can fill a real disk. Only root
// may mount; elsewhere isMounted() is false and the test skips.
class TmpfsMount
{
public:
    TmpfsMount(const QString &path, qint64 bytes);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    bool isMounted() const { return m_mounted; }

private:
    QByteArray m_path;
    bool m_mounted = false;
};
