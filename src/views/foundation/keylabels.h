#pragma once

#include <QKeySequence>
#include <QString>

// Key names as this desktop writes them ("Ctrl+Alt+S"; "⌥⌘S" on a Mac).
namespace KeyLabels
{

QString label(const QKeySequence &keys);
// The quick-paste key of a card: Ctrl and the digit.
QString quickPasteLabel(int number);

// The keys the board's texts name.
QKeySequence copy();
QKeySequence pastePlainText();
QKeySequence openUrl();
QKeySequence revealInFileManager();
QKeySequence toggleSidebar();
QKeySequence toggleBoard();
QKeySequence preferences();
QKeySequence pause();
QKeySequence anchor();
QKeySequence enter();
QKeySequence backspace();
QKeySequence space();
QString alt();

} // namespace KeyLabels
