#include "boardsettingsmenu.h"

#include "board/clipboardmanagerstate.h"
#include "views/foundation/keylabels.h"

#include <QApplication>

namespace
{

using Entry = CardContextMenu::Entry;

Entry action(const QString &title, std::function<void()> run)
{
    Entry entry;
    entry.title = title;
    entry.action = std::move(run);
    return entry;
}

Entry separator()
{
    Entry entry;
    entry.kind = Entry::Kind::Separator;
    return entry;
}

QString withKeys(const QString &title, const QKeySequence &keys)
{
    return QStringLiteral("%1 (%2)").arg(title, KeyLabels::label(keys));
}

} // namespace

QList<CardContextMenu::Entry> BoardSettingsMenu::entries(ClipboardManagerState &state)
{
    ClipboardManagerState *s = &state;
    const auto call = [s](std::function<void()> ClipboardManagerState::*hook) {
        return [s, hook] {
            if (s->*hook)
                (s->*hook)();
        };
    };
    const auto setGrid = [s](int rows, int columns) {
        return [s, rows, columns] {
            s->setGridRows(rows);
            s->setGridColumns(columns);
        };
    };

    Entry grid;
    grid.kind = Entry::Kind::Submenu;
    grid.title = tr("Grid Layout (%1 × %2)").arg(state.gridRows()).arg(state.gridColumns());
    grid.children = {
        action(tr("3 × 3 Default Grid"), setGrid(3, 3)),
        action(tr("6 × 1 List Layout"), setGrid(6, 1)),
        action(tr("4 × 4 Dense Grid"), setGrid(4, 4)),
        separator(),
        action(withKeys(tr("Add Row"), QKeySequence(Qt::ControlModifier | Qt::Key_Plus)),
               [s] { s->incrementRows(); }),
        action(withKeys(tr("Remove Row"), QKeySequence(Qt::ControlModifier | Qt::Key_Minus)),
               [s] { s->decrementRows(); }),
        action(withKeys(tr("Add Column"),
                        QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_Plus)),
               [s] { s->incrementColumns(); }),
        action(withKeys(tr("Remove Column"),
                        QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_Minus)),
               [s] { s->decrementColumns(); }),
    };

    return {
        action(tr("About Quillstash"), call(&ClipboardManagerState::onRequestOpenAbout)),
        action(tr("Check for Updates..."), call(&ClipboardManagerState::onRequestCheckForUpdates)),
        action(withKeys(tr("Preferences..."), KeyLabels::preferences()),
               call(&ClipboardManagerState::onRequestOpenPreferences)),
        action(withKeys(state.isSidebarVisible() ? tr("Hide Sidebar") : tr("Show Sidebar"),
                        KeyLabels::toggleSidebar()),
               [s] { s->setIsSidebarVisible(!s->isSidebarVisible()); }),
        separator(),
        grid,
        action(withKeys(state.isPaused() ? tr("Resume Quillstash") : tr("Pause Quillstash"),
                        KeyLabels::pause()),
               [s] { s->setIsPaused(!s->isPaused()); }),
        separator(),
        action(tr("Restore Demo Clippings"), [s] { s->resetToShowcaseData(); }),
        action(tr("Clear History"), [s] { s->clearHistory(); }),
        separator(),
        action(tr("Quit Quillstash"), [] { QCoreApplication::quit(); }),
    };
}
