#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Lengths of text as a reader counts them: extended grapheme clusters, not code units.
namespace TextMetrics
{

QList<QStringView> graphemes(QStringView text);
qsizetype graphemeCount(QStringView text);
// The last `count` graphemes of the text (all of it when it is shorter).
QStringView lastGraphemes(QStringView text, qsizetype count);

// A grapheme's class is that of its first scalar.
bool isWhiteSpace(QStringView grapheme);
bool isLineBreak(QStringView grapheme);

} // namespace TextMetrics
