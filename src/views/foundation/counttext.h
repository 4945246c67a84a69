#pragma once

#include <QString>

// A count with its noun in the form English gives that number ("1 item", "2 items").
// tr()'s "%n" forms only pick the plural from a translation file, and the program ships none.
namespace CountText
{

// `one` and `other` hold "%n" where the number goes.
QString format(qsizetype count, const QString &one, const QString &other);

} // namespace CountText
