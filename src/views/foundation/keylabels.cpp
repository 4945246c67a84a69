#include "keylabels.h"

namespace KeyLabels
{

QString label(const QKeySequence &keys)
{
    return keys.toString(QKeySequence::NativeText);
}

QString quickPasteLabel(int number)
{
    return label(QKeySequence(Qt::ControlModifier | Qt::Key(Qt::Key_0 + number)));
}

QKeySequence copy()
{
    return QKeySequence(Qt::ControlModifier | Qt::Key_C);
}

QKeySequence pastePlainText()
{
    return QKeySequence(Qt::ShiftModifier | Qt::ControlModifier | Qt::Key_V);
}

QKeySequence openUrl()
{
    return QKeySequence(Qt::ControlModifier | Qt::Key_O);
}

QKeySequence revealInFileManager()
{
    return QKeySequence(Qt::ShiftModifier | Qt::ControlModifier | Qt::Key_R);
}

QKeySequence toggleSidebar()
{
    return QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_S);
}

QKeySequence toggleBoard()
{
    return QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_V);
}

QKeySequence preferences()
{
    return QKeySequence(Qt::ControlModifier | Qt::Key_Comma);
}

QKeySequence pause()
{
    return QKeySequence(Qt::ControlModifier | Qt::Key_Period);
}

QKeySequence anchor()
{
    return QKeySequence(Qt::ControlModifier | Qt::Key_P);
}

QKeySequence enter()
{
    return QKeySequence(Qt::Key_Enter);
}

QKeySequence backspace()
{
    return QKeySequence(Qt::Key_Backspace);
}

QKeySequence space()
{
    return QKeySequence(Qt::Key_Space);
}

QString alt()
{
    // A modifier has no label of its own: take it from a combination and drop the key.
    QString text = label(QKeySequence(Qt::AltModifier | Qt::Key_A));
    text.chop(1);
    if (text.endsWith(QLatin1Char('+')))
        text.chop(1);
    return text;
}

} // namespace KeyLabels
