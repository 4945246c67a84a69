#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh folder for one test, removed afterwards.
class ScratchDirectory
{
public:
    ScratchDirectory();

    QString path() const { return m_directory.path(); }
    QString filePath(const QString &name) const { return m_directory.filePath(name); }

private:
    QTemporaryDir m_directory;
};

// The settings key the test process seals with, so tests can open what the code sealed.
QByteArray testClippingKey();
