#pragma once

#include "settingsstore.h"

#include <QSettings>

// Settings in an INI file that only its owner may read: it holds the clipping key.
class IniSettingsStore final : public SettingsStore
{
public:
    explicit IniSettingsStore(const QString &filePath);

    // $XDG_CONFIG_HOME/Quillstash/Quillstash.conf
    static QString defaultFilePath();

    QVariant value(const QString &key) const override;
    bool setValue(const QString &key, const QVariant &value) override;
    bool remove(const QString &key) override;
    void syncFolder() override;

private:
    void restrictFileMode();

    QSettings m_settings;
};
