#pragma once

#include "model/clippingitem.h"
#include "views/cards/clippingfacts.h"

#include <QFutureWatcher>
#include <QWidget>
#include <optional>

class ClipboardManagerState;
class QLabel;
class PreviewText;
class QPushButton;
class QStackedWidget;
struct Theme;

// The large preview of one clipping over the whole board: a dimmed backdrop and a panel of fixed
// size, whatever the board's size. A click on the backdrop closes it.
class QuickLookView : public QWidget
{
    Q_OBJECT

public:
    static constexpr QSize panelSize{540, 370};

    QuickLookView(ClipboardManagerState &state, const Theme *const &theme,
                  QWidget *parent = nullptr);

    // Follows quickLookItem: shows, refreshes or hides the preview.
    void refresh();
    QRect panelGeometry() const;
    QString hintText() const;
    // The text shown for a text or link clipping.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showItem(const ClippingItem &item);
    void showFacts(const ClippingItem &item);
    void updateMasking();
    void applyTheme();

    ClipboardManagerState &m_state;
    const Theme *const &m_theme;
    const Theme *m_styledTheme = nullptr;
    std::optional<ClippingItem> m_item;
    std::optional<bool> m_shownMasked;
    QFutureWatcher<std::pair<ClippingItem, ClippingFacts>> m_facts;
    QWidget *m_panel = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_metadata = nullptr;
    QLabel *m_icon = nullptr;
    QStackedWidget *m_content = nullptr;
    PreviewText *m_text = nullptr;
    QWidget *m_picture = nullptr;
    QLabel *m_hint = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_paste = nullptr;
};
