#include "xdgautostartentry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace
{

// Quoting of the Exec key: reserved characters need the whole argument in double quotes.
QString quotedArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(argument.begin(), argument.end(),
                     [](QChar c) { return reserved.contains(c); }))
        return argument;
    QString quoted = argument;
    for (const QString &special :
         {QStringLiteral("\\"), QStringLiteral("\""), QStringLiteral("`"), QStringLiteral("$")})
        quoted.replace(special, QLatin1Char('\\') + special);
    // The desktop file itself unescapes backslashes once more.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

XdgAutostartEntry::XdgAutostartEntry(QString filePath, QString command)
    : m_filePath(std::move(filePath)), m_command(std::move(command))
{
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
    return (foundOnPath ? QStringLiteral("quillstash") : quotedArgument(program)) +
           QStringLiteral(" --background");
}

bool XdgAutostartEntry::isEnabled() const
{
    return QFileInfo::exists(m_filePath);
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
