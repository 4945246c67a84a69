#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class ClipboardManagerState;
class QWidget;

// Writes the five verification pictures: the board in both appearances, as a list, filtered to
// one application, and the preferences window, each after setting the state it shows.
class ScreenshotExport : public QObject
{
    Q_OBJECT

public:
    struct Windows {
        // Shows the board and returns it.
        std::function<QWidget *()> showBoard;
        // Opens the preferences window and returns it.
        std::function<QWidget *()> openPreferences;
    };

    ScreenshotExport(ClipboardManagerState &state, Windows windows, QString folder,
                     QObject *parent = nullptr);

    // The file names, in the order they are written.
    static QStringList fileNames();

    // Starts after a short wait for the windows to settle; finished() reports the end.
    void start(int initialWaitMilliseconds = 400);

signals:
    // The names of the files that could not be written; empty when all were.
    void finished(const QStringList &failures);

private:
    struct Shot {
        QString fileName;
        std::function<QWidget *()> prepare;
    };
    QList<Shot> shots();
    void takeNext();

    ClipboardManagerState &m_state;
    Windows m_windows;
    QString m_folder;
    QList<Shot> m_shots;
    QStringList m_failures;
};
