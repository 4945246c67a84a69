#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <functional>

// Lengths of text as a reader counts them: extended grapheme clusters, not code units.
namespace TextMetrics
{

QList<QStringView> graphemes(QStringView text);
// Hands the graphemes to visit in order, until it answers false.
void visitGraphemes(QStringView text, const std::function<bool(QStringView)> &visit);
qsizetype graphemeCount(QStringView text);
// The last `count` graphemes of the text (all of it when it is shorter).
QStringView lastGraphemes(QStringView text, qsizetype count);

// A grapheme's class is that of its first scalar.
bool isWhiteSpace(QStringView grapheme);
bool isLineBreak(QStringView grapheme);

} // namespace TextMetrics
