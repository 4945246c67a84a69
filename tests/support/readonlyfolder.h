#pragma once

#include <QByteArray>
#include <QString>

// Makes a folder read-only while it lives. Root ignores permissions, so there the folder is
// made immutable, or else bind-mounted read-only onto itself; where none of these works the
// folder stays writable and isReadOnly() tells the test to skip.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // Whether creating a file in it fails now.
    bool isReadOnly() const;

private:
    enum class Method { None, Permissions, Immutable, Mount };
    bool setImmutable(bool immutable) const;

    QByteArray m_path;
    Method m_method = Method::None;
};
