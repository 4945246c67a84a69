#include "inisettingsstore.h"

#include "privatefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

IniSettingsStore::IniSettingsStore(const QString &filePath)
    : m_settings(filePath, QSettings::IniFormat)
{
    PrivateFiles::makePrivateDirectory(QFileInfo(filePath).absolutePath());
    // Create the file private before the first write, which keeps the mode it finds.
    PrivateFiles::touchPrivateFile(filePath);
}

QString IniSettingsStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quillstash/Quillstash.conf");
}

QVariant IniSettingsStore::value(const QString &key) const
{
    return m_settings.value(key);
}

bool IniSettingsStore::setValue(const QString &key, const QVariant &value)
{
    m_settings.setValue(key, value);
    m_settings.sync();
    restrictFileMode();
    return m_settings.status() == QSettings::NoError;
}

bool IniSettingsStore::remove(const QString &key)
{
    m_settings.remove(key);
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

void IniSettingsStore::syncFolder()
{
    PrivateFiles::syncFolderOf(m_settings.fileName());
}

void IniSettingsStore::restrictFileMode()
{
    PrivateFiles::restrictToOwner(m_settings.fileName());
}
