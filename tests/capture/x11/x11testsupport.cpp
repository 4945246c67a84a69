#include "x11testsupport.h"

#include <QFile>
#include <QHash>
#include <QTest>

OwnerProcess::OwnerProcess(const Offers &offers, const QStringList &flags)
{
    QStringList arguments = flags;
    // Targets with the same bytes share one file, which the helper reads once.
    QHash<QByteArray, QString> paths;
    for (const auto &[target, bytes] : offers) {
        QString &path = paths[bytes];
        if (path.isEmpty()) {
            path = m_files.filePath(QString::number(paths.size()));
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
        }
        arguments << target + u'=' + path;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(CLIPBOARD_OWNER_PROGRAM), arguments);
}

OwnerProcess::~OwnerProcess()
{
    terminate();
}

bool OwnerProcess::waitUntilReady()
{
    while (!m_output.contains('\n')) {
        if (!m_process.waitForReadyRead(5000))
            return false;
        m_output += m_process.readAllStandardOutput();
    }
    const qsizetype end = m_output.indexOf('\n');
    const QByteArray first = m_output.left(end);
    m_output.remove(0, end + 1);
    if (!first.startsWith("ready "))
        return false;
    m_window = first.mid(6).toULongLong();
    return true;
}

QStringList OwnerProcess::requests()
{
    // What it printed may still be on its way.
    while (m_process.waitForReadyRead(100))
        m_output += m_process.readAllStandardOutput();
    m_output += m_process.readAllStandardOutput();
    QStringList targets;
    for (const QByteArray &line : m_output.split('\n')) {
        if (line.startsWith("request "))
            targets << QString::fromLatin1(line.mid(8));
    }
    return targets;
}

void OwnerProcess::terminate()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(2000))
        m_process.kill();
    m_process.waitForFinished(2000);
}

void xclipCopy(const QByteArray &bytes, const QString &target)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("content"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    file.close();
    // xclip reads the file, then forks the owner and the parent exits.
    QProcess::execute(QStringLiteral("xclip"),
                      {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                       QStringLiteral("-t"), target, QStringLiteral("-i"), path});
}

std::optional<QByteArray> xclipPaste(const QString &target)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"),
                                          QStringLiteral("-t"), target, QStringLiteral("-o")});
    if (!QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 8000))
        xclip.kill();
    xclip.waitForFinished(1000);
    if (xclip.exitStatus() != QProcess::NormalExit || xclip.exitCode() != 0)
        return std::nullopt;
    return xclip.readAllStandardOutput();
}
