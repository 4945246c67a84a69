#include "xdgautostartentry.h"

#include "desktopentryfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

XdgAutostartEntry::XdgAutostartEntry(QString filePath, QString command)
    : m_filePath(std::move(filePath)), m_command(std::move(command))
{
}

QString XdgAutostartEntry::execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString written = argument;
    if (std::any_of(argument.begin(), argument.end(),
                    [](QChar c) { return reserved.contains(c); })) {
        for (const QString &special :
             {QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("`"), QStringLiteral("$")})
            written.replace(special, QLatin1Char('\\') + special);
        written = QLatin1Char('"') + written + QLatin1Char('"');
        // The desktop file itself unescapes backslashes once more.
        written.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    }
    // A line break would end the value and start a line of its own; a lone % is a field code.
    written.replace(QStringLiteral("\n"), QStringLiteral("\\n"));
    written.replace(QStringLiteral("\t"), QStringLiteral("\\t"));
    written.replace(QStringLiteral("\r"), QStringLiteral("\\r"));
    written.replace(QStringLiteral("%"), QStringLiteral("%%"));
    return written;
}

QString XdgAutostartEntry::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/quillstash.desktop");
}

QString XdgAutostartEntry::defaultCommand()
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString found = QStandardPaths::findExecutable(QStringLiteral("quillstash"));
    const bool foundOnPath = !found.isEmpty() && QFileInfo(found).canonicalFilePath() ==
                                                     QFileInfo(program).canonicalFilePath();
    return (foundOnPath ? QStringLiteral("quillstash") : execArgument(program)) +
           QStringLiteral(" --background");
}

bool XdgAutostartEntry::isEnabled() const
{
    if (!QFileInfo::exists(m_filePath))
        return false;
    // The desktop's own start-up settings turn an entry off this way rather than removing it.
    const QHash<QString, QString> keys = DesktopEntryFile::readMainGroup(m_filePath);
    return keys.value(QStringLiteral("Hidden")) != u"true" &&
           keys.value(QStringLiteral("X-GNOME-Autostart-enabled")) != u"false";
}

bool XdgAutostartEntry::setEnabled(bool enabled)
{
    if (!enabled)
        return !QFileInfo::exists(m_filePath) || QFile::remove(m_filePath);
    if (!QDir().mkpath(QFileInfo(m_filePath).absolutePath()))
        return false;
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Quillstash\n"
                                         "Comment=Clipboard history\n"
                                         "Exec=%1\n"
                                         "Icon=quillstash\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(m_command);
    file.write(entry.toUtf8());
    return file.commit();
}
