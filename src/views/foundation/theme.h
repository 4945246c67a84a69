#pragma once

#include "store/appearancepreference.h"

#include <QColor>

class QPalette;

// Every named colour of the board, its cards and sidebar, for one appearance. Views take their
// colours from here and write no colour literals of their own.
struct Theme {
    bool isDark = true;

    // System colours.
    QColor accent;
    QColor red;
    QColor orange;
    QColor yellow;
    QColor green;
    QColor teal;
    QColor cyan;
    QColor blue;
    QColor indigo;
    QColor purple;
    QColor pink;

    // Text.
    QColor primaryText;
    QColor secondaryText;
    QColor strongText; // plain black or white
    QColor selectionBlue;

    // Board.
    QColor boardBackground;
    QColor barBackground;
    QColor toolbarIcon;
    QColor sidebarDivider;
    QColor barSeparator;
    QColor squareButtonBackground;
    QColor presetGroupBackground;
    QColor emptyStateTitle;
    QColor toastBackground;
    QColor keyCapText;
    QColor keyCapBackground;
    QColor searchFieldBackground;
    QColor searchFieldOutline;
    QColor windowBorder;

    // Sidebar.
    QColor sidebarTint;
    QColor sidebarSectionHeader;
    QColor sidebarIcon;
    QColor sidebarTitle;
    QColor sidebarBadgeText;
    QColor sidebarBadgeCapsule;
    QColor sidebarSelectedBadgeCapsule;
    QColor sidebarSelectionStart;
    QColor sidebarSelectionEnd;
    QColor favoritesIcon;
    QColor collectionIcon;

    // Card frame.
    QColor cardBase;
    QColor cardHeaderBackground;
    QColor cardHeaderDivider;
    QColor cardFooterDivider;
    QColor cardFooterBackground;
    QColor cardBorder;
    QColor cardShadow;
    QColor cardSelectedShadow;
    QColor codeBodyBackground; // invalid in the light appearance: nothing is drawn
    QColor favoriteHeart;
    QColor chipBackground;
    QColor textBadgeAccent;
    QColor codeBadgeAccent;
    qreal badgeFillOpacity = 0;

    // Card content.
    QColor secretFieldBackground;
    QColor headline;
    QColor lineNumber;
    QColor gutterSeparator;
    QColor linkText;
    QColor hostPillBackground;
    QColor compactSwatchOutline;
    QColor swatchOutline;
    QColor checkerFirst;
    QColor checkerSecond;
    QColor fileIconShadow;

    // Code.
    QColor codeBase;
    QColor codeKeyword;
    QColor codeTypeName;
    QColor codeString;

    // Quick Look.
    QColor previewBackdrop;
    QColor previewOutline;
    QColor previewShadow;
    QColor previewBar;
    QColor previewContent;

    // The palette of every widget, menu and tool tip the board shows, so that none takes the
    // desktop's colours over the board's.
    QPalette palette() const;

    static const Theme &dark();
    static const Theme &light();
    static const Theme &forDark(bool dark) { return dark ? Theme::dark() : Theme::light(); }
    // Rebuilds both themes after the desktop's palette changed (its accent, or dark for light).
    static void followDesktop();
    // System follows the desktop's palette.
    static bool isDarkAppearance(AppearancePreference preference);
    static const Theme &forAppearance(AppearancePreference preference)
    {
        return forDark(isDarkAppearance(preference));
    }
};
