#pragma once

#include "store/loginitem.h"

#include <QString>

// An XDG autostart entry ($XDG_CONFIG_HOME/autostart/quillstash.desktop) that starts the program
// without showing its board. The entry's presence is the setting, unless the desktop has marked
// it hidden or disabled.
class XdgAutostartEntry final : public LoginItem
{
public:
    // command: the program and its arguments as the entry's Exec line writes them.
    XdgAutostartEntry(QString filePath, QString command);

    static QString defaultFilePath();
    // One argument as the Exec key takes it: quoted when it holds reserved characters, and
    // with the escapes of the desktop-entry format.
    static QString execArgument(const QString &argument);
    // "quillstash --background" when that name finds this very program, else its full path.
    static QString defaultCommand();

    bool isEnabled() const override;
    bool setEnabled(bool enabled) override;

    QString filePath() const { return m_filePath; }

private:
    QString m_filePath;
    QString m_command;
};
