#pragma once

#include "update/updatecheckstatus.h"

#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <optional>

class ClipboardManagerState;
class QVBoxLayout;
struct Theme;

// The about window: the program's name, version and build, and the update check with its
// outcome, the download and the upgrade command. It redraws whenever the state changes.
class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AboutWindow(ClipboardManagerState &state, QWidget *parent = nullptr);

    // Centres the window on its screen above other windows and gives it the keyboard.
    void present();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refresh();
    void applyTheme();
    void rebuildStatus();
    QWidget *checkingRow();
    QWidget *upToDatePanel(const UpdateCheckStatus::UpToDate &current);
    QWidget *updateAvailablePanel(const UpdateCheckStatus::UpdateAvailable &available);
    QWidget *failureMessage(const UpdateCheckStatus::Failed &failed);
    QString copyButtonText() const;

    ClipboardManagerState &m_state;
    const Theme *m_theme = nullptr;
    QWidget *m_statusSection = nullptr;
    QVBoxLayout *m_statusLayout = nullptr;
    QPushButton *m_checkButton = nullptr;
    QPushButton *m_okButton = nullptr;
    // Only while an update is offered.
    QPointer<QPushButton> m_copyButton;

    // What the window shows now, so that unrelated changes of the state rebuild nothing.
    struct Shown {
        UpdateCheckStatus status;
        bool copiedCommand = false;
        const Theme *theme = nullptr;
        bool operator==(const Shown &) const = default;
    };
    std::optional<Shown> m_shown;
};
