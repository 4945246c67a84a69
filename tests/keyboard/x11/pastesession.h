#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <optional>

// The real program and a target program of the user's, both running on the current X
// display, driven from outside: keys through xdotool, the clipboard through xclip, the
// board's keys through the program's test input. Times are monotonic milliseconds, comparable
// across the processes.
class PasteSession
{
public:
    PasteSession(const QString &program, const QString &target);
    ~PasteSession();
    PasteSession(const PasteSession &) = delete;
    PasteSession &operator=(const PasteSession &) = delete;

    // Starts both with auto-paste on; empty on success, else what went wrong.
    QString start();

    static double now();
    // Presses Ctrl+Alt+V as xdotool does (the keys released again); the time before it.
    double pressHotKey();
    // The time of the program's next trace line for this event, or nothing within the time.
    std::optional<double> waitForTrace(const QString &event, int timeout = 5000);
    // A key typed into the board, e.g. "Return"; the time it was sent.
    double typeIntoBoard(const QString &key);
    // Any other line of the program's test input.
    void tellProgram(const QString &command);
    // The time the target's field first showed exactly this text, or nothing within 5 s.
    std::optional<double> waitForTargetText(const QString &text);
    // Copies text in another program (xclip), which stays its owner.
    static bool copyElsewhere(const QString &text);
    // Waits until the program has captured this text as its newest clipping.
    bool waitForCapture(const QString &text);
    // Gives the keyboard focus back to the target and empties its field.
    bool resetTarget();

    QString programErrors() const { return QString::fromUtf8(m_programErrors); }

private:
    std::optional<QByteArray> nextLine(QProcess &process, QByteArray &buffer, QByteArray *record,
                                       int timeout);

    QString m_programPath;
    QString m_targetPath;
    QTemporaryDir m_home;
    QProcess m_program;
    QProcess m_target;
    QByteArray m_programBuffer;
    QByteArray m_programErrors;
    QByteArray m_targetBuffer;
    QString m_targetWindow;
};
