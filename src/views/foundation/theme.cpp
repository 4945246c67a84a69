#include "theme.h"

#include <QGuiApplication>
#include <QPalette>

namespace
{

QColor rgb(double r, double g, double b, double opacity = 1)
{
    return QColor::fromRgbF(float(r), float(g), float(b), float(opacity));
}

QColor rgb8(int r, int g, int b)
{
    return QColor(r, g, b);
}

QColor white(double opacity)
{
    return rgb(1, 1, 1, opacity);
}

QColor black(double opacity)
{
    return rgb(0, 0, 0, opacity);
}

QColor withOpacity(QColor colour, double opacity)
{
    colour.setAlphaF(float(opacity));
    return colour;
}

QColor systemAccent()
{
    return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

Theme makeTheme(bool dark)
{
    Theme t;
    t.isDark = dark;
    // Both values per line: light, then dark, as the system colours of the desktop design.
    const auto pick = [dark](QColor light, QColor darkColour) { return dark ? darkColour : light; };
    t.accent = systemAccent();
    t.red = pick(rgb8(255, 59, 48), rgb8(255, 69, 58));
    t.orange = pick(rgb8(255, 149, 0), rgb8(255, 159, 10));
    t.yellow = pick(rgb8(255, 204, 0), rgb8(255, 214, 10));
    t.green = pick(rgb8(52, 199, 89), rgb8(48, 209, 88));
    t.teal = pick(rgb8(48, 176, 199), rgb8(64, 200, 224));
    t.cyan = pick(rgb8(50, 173, 230), rgb8(100, 210, 255));
    t.blue = pick(rgb8(0, 122, 255), rgb8(10, 132, 255));
    t.indigo = pick(rgb8(88, 86, 214), rgb8(94, 92, 230));
    t.purple = pick(rgb8(175, 82, 222), rgb8(191, 90, 242));
    t.pink = pick(rgb8(255, 45, 85), rgb8(255, 55, 95));

    t.primaryText = pick(black(0.86), white(0.93));
    t.secondaryText = pick(black(0.48), white(0.48));
    t.strongText = pick(black(1), white(1));
    t.selectionBlue = rgb(0.22, 0.52, 0.98);

    t.boardBackground = pick(rgb(0.92, 0.93, 0.95), rgb(0.095, 0.105, 0.13));
    t.barBackground = pick(rgb(0.96, 0.96, 0.98), rgb(0.12, 0.13, 0.16));
    t.toolbarIcon = pick(black(0.58), white(0.65));
    t.sidebarDivider = pick(rgb(0.82, 0.84, 0.87), rgb(0.18, 0.20, 0.24));
    t.barSeparator = pick(black(0.08), white(0.07));
    t.squareButtonBackground = pick(black(0.05), white(0.07));
    t.presetGroupBackground = pick(black(0.06), white(0.06));
    t.emptyStateTitle = pick(black(0.75), white(0.80));
    t.toastBackground = withOpacity(t.green, 0.18);
    t.keyCapText = pick(black(0.75), white(0.85));
    t.keyCapBackground = pick(black(0.08), white(0.12));
    t.searchFieldBackground = pick(rgb(1, 1, 1), black(0.32));
    t.searchFieldOutline = pick(black(0.12), white(0.10));
    t.windowBorder = black(0.28);

    t.sidebarTint = pick(rgb(0.94, 0.95, 0.97, 0.85), rgb(0.11, 0.12, 0.15, 0.82));
    t.sidebarSectionHeader = pick(black(0.42), white(0.40));
    t.sidebarIcon = pick(black(0.60), white(0.68));
    t.sidebarTitle = pick(black(0.82), white(0.86));
    t.sidebarBadgeText = pick(black(0.45), white(0.50));
    t.sidebarBadgeCapsule = pick(black(0.06), white(0.07));
    t.sidebarSelectedBadgeCapsule = white(0.22);
    t.sidebarSelectionStart = rgb(0.2, 0.5, 0.96);
    t.sidebarSelectionEnd = rgb(0.3, 0.38, 0.92);
    t.favoritesIcon = rgb(0.95, 0.33, 0.42);
    t.collectionIcon = rgb(0.35, 0.62, 0.98);

    t.cardBase = pick(rgb(1, 1, 1), rgb(0.15, 0.16, 0.19));
    t.cardHeaderBackground = pick(black(0.018), white(0.025));
    // The desktop's separator colour, a tenth of the label colour, at the dividers' opacities.
    t.cardHeaderDivider = pick(black(0.1 * 0.45), white(0.1 * 0.25));
    t.cardFooterDivider = pick(black(0.1 * 0.35), white(0.1 * 0.2));
    t.cardFooterBackground = pick(black(0.02), black(0.18));
    t.cardBorder = pick(black(0.1), white(0.09));
    t.cardShadow = pick(black(0.06), black(0.28));
    t.cardSelectedShadow = rgb(0.2, 0.5, 0.98, dark ? 0.28 : 0.22);
    t.codeBodyBackground = dark ? rgb(0.11, 0.12, 0.15) : QColor();
    t.favoriteHeart = rgb(0.95, 0.32, 0.42);
    t.chipBackground = withOpacity(t.accent, dark ? 0.16 : 0.1);
    t.textBadgeAccent = rgb(0.45, 0.55, 0.68);
    t.codeBadgeAccent = rgb(0.92, 0.36, 0.62);
    t.badgeFillOpacity = dark ? 0.18 : 0.13;

    t.secretFieldBackground = pick(black(0.05), black(0.28));
    t.headline = rgb(0.92, 0.35, 0.38);
    t.lineNumber = pick(black(0.48 * 0.55), white(0.48 * 0.55));
    t.gutterSeparator = pick(black(0.08), white(0.08));
    t.linkText = pick(rgb(0.1, 0.42, 0.9), rgb(0.35, 0.65, 1.0));
    t.hostPillBackground = withOpacity(t.blue, dark ? 0.18 : 0.1);
    // Hairlines that show also where the colour is close to the card's own.
    t.compactSwatchOutline = pick(black(0.12), white(0.2));
    t.swatchOutline = pick(black(0.12), white(0.2));
    t.checkerFirst = pick(rgb(0.99, 0.99, 0.99), rgb(0.13, 0.14, 0.16));
    t.checkerSecond = pick(rgb(0.93, 0.94, 0.96), rgb(0.17, 0.18, 0.21));
    t.fileIconShadow = black(0.18);

    t.codeBase = pick(rgb(0.12, 0.12, 0.14), rgb(0.92, 0.92, 0.94));
    t.codeKeyword = pick(rgb(0.67, 0.05, 0.57), rgb(0.95, 0.31, 0.64));
    t.codeTypeName = pick(rgb(0.11, 0.44, 0.53), rgb(0.36, 0.84, 0.89));
    t.codeString = pick(rgb(0.77, 0.10, 0.09), rgb(0.98, 0.40, 0.36));

    t.previewBackdrop = black(0.45);
    t.previewOutline = white(0.15);
    t.previewShadow = black(0.45);
    t.previewBar = pick(rgb(0.94, 0.94, 0.94), rgb(0.16, 0.16, 0.16));
    t.previewContent = pick(rgb(1, 1, 1), rgb(0.12, 0.12, 0.12));
    return t;
}

Theme &darkTheme()
{
    static Theme theme = makeTheme(true);
    return theme;
}

Theme &lightTheme()
{
    static Theme theme = makeTheme(false);
    return theme;
}

} // namespace

const Theme &Theme::dark()
{
    return darkTheme();
}

const Theme &Theme::light()
{
    return lightTheme();
}

void Theme::followDesktop()
{
    // In place: views keep pointers to the two themes.
    darkTheme() = makeTheme(true);
    lightTheme() = makeTheme(false);
}

QPalette Theme::palette() const
{
    QPalette result;
    const QColor window = boardBackground;
    const QColor raised = isDark ? window.lighter(135) : window.darker(108);
    const auto set = [&result](QPalette::ColorRole role, const QColor &colour) {
        result.setColor(QPalette::All, role, colour);
    };
    set(QPalette::Window, window);
    set(QPalette::WindowText, primaryText);
    set(QPalette::Base, previewContent);
    set(QPalette::AlternateBase, previewBar);
    set(QPalette::Text, primaryText);
    set(QPalette::PlaceholderText, secondaryText);
    set(QPalette::Button, raised);
    set(QPalette::ButtonText, primaryText);
    set(QPalette::BrightText, strongText);
    set(QPalette::Highlight, accent);
    set(QPalette::HighlightedText, Qt::white);
    set(QPalette::Link, linkText);
    set(QPalette::ToolTipBase, raised);
    set(QPalette::ToolTipText, primaryText);
    set(QPalette::Light, raised.lighter(120));
    set(QPalette::Midlight, raised);
    set(QPalette::Mid, isDark ? window.lighter(160) : window.darker(130));
    set(QPalette::Dark, isDark ? window.darker(150) : window.darker(160));
    set(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        result.setColor(QPalette::Disabled, role, secondaryText);
    return result;
}

bool Theme::isDarkAppearance(AppearancePreference preference)
{
    switch (preference) {
    case AppearancePreference::Dark:
        return true;
    case AppearancePreference::Light:
        return false;
    case AppearancePreference::System:
        break;
    }
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() <
           palette.color(QPalette::WindowText).lightness();
}
