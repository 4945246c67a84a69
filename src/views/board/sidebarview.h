#pragma once

#include "cardcontextmenu.h"
#include "model/sidebarselection.h"

#include <QList>
#include <QWidget>

class ClipboardManagerState;
class QLineEdit;
class QVBoxLayout;
class SidebarRowButton;
struct Theme;

// The board's left column: the program's name and capture state, then every way of narrowing the
// board with its count. Rows are rebuilt only when the list of entries changes; counts and the
// selection are updated in place.
class SidebarView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int width = 192;

    SidebarView(ClipboardManagerState &state, const Theme *const &theme, QWidget *parent = nullptr);

    // The context menu of an entry.
    static QList<CardContextMenu::Entry> menuEntries(ClipboardManagerState &state,
                                                     const SidebarSelection &selection);
    // A dropped text joins the collection when it is a clipping's id.
    static void dropText(ClipboardManagerState &state, const QUuid &collectionID,
                         const QString &text);

    // The row of an entry, or null.
    SidebarRowButton *row(const SidebarSelection &selection) const;
    QList<SidebarRowButton *> rows() const;

    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Entry {
        SidebarSelection selection;
        QString title;
        int count = 0;
    };
    QList<Entry> entries() const;
    void rebuild(const QList<Entry> &entries);
    SidebarRowButton *makeRow(const Entry &entry);
    void updateCreation();

    ClipboardManagerState &m_state;
    const Theme *const &m_theme;
    QWidget *m_header = nullptr;
    QVBoxLayout *m_list = nullptr;
    QWidget *m_creation = nullptr;
    QWidget *m_newButton = nullptr;
    QWidget *m_nameRow = nullptr;
    QLineEdit *m_nameField = nullptr;
    QList<std::pair<SidebarSelection, SidebarRowButton *>> m_rows;
    QList<std::pair<SidebarSelection, QString>> m_structure;
    const Theme *m_shownTheme = nullptr;
};
