#include "previewtext.h"

#include <QMimeData>
#include <QTextBlock>

namespace
{

// Short enough to lay out within a frame; a line longer than this continues in the next block.
constexpr qsizetype pieceLength = 2048;
constexpr qsizetype batchCharacters = 64 * 1024;
constexpr int batchBlocks = 2000;

bool isBlockSeparator(QChar ch)
{
    return ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator;
}

} // namespace

PreviewText::PreviewText(QWidget *parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    m_feeder.setInterval(0);
    connect(&m_feeder, &QTimer::timeout, this, &PreviewText::feed);
}

void PreviewText::setText(const QString &text)
{
    m_feeder.stop();
    clear();
    m_text = text;
    m_fed = 0;
    m_blockStarts.assign(1, 0);
    feed();
}

void PreviewText::feed()
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    const qsizetype stop = m_fed + batchCharacters;
    int blocks = 0;
    while (m_fed < m_text.size() && m_fed < stop && blocks < batchBlocks) {
        const QStringView rest = QStringView(m_text).sliced(m_fed);
        qsizetype length = 0;
        while (length < rest.size() && length < pieceLength && !isBlockSeparator(rest[length]))
            ++length;
        qsizetype next = m_fed + length;
        if (length < rest.size() && isBlockSeparator(rest[length])) {
            // The separator ends this block; CR LF is one.
            next += rest[length] == u'\r' && length + 1 < rest.size() && rest[length + 1] == u'\n'
                        ? 2
                        : 1;
        } else if (length == pieceLength && length < rest.size()) {
            // Break a long line after a space where there is one near the end, so that the
            // seam looks like a wrap, and never inside a surrogate pair.
            const qsizetype space = rest.first(length).lastIndexOf(u' ');
            if (space >= length - 256)
                length = space + 1;
            else if (rest[length - 1].isHighSurrogate())
                --length;
            next = m_fed + length;
        }
        cursor.insertText(rest.first(length).toString());
        m_fed = next;
        if (next < m_text.size() || isBlockSeparator(m_text.back())) {
            cursor.insertBlock();
            m_blockStarts.push_back(next);
        }
        ++blocks;
    }
    cursor.endEditBlock();
    if (isComplete())
        m_feeder.stop();
    else
        m_feeder.start();
}

qsizetype PreviewText::textOffset(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    const auto number = static_cast<std::size_t>(block.blockNumber());
    if (number >= m_blockStarts.size())
        return m_fed;
    return std::min(m_blockStarts[number] + (position - block.position()), m_text.size());
}

QString PreviewText::selectedText() const
{
    const QTextCursor selection = textCursor();
    const qsizetype start = textOffset(selection.selectionStart());
    return m_text.sliced(start, textOffset(selection.selectionEnd()) - start);
}

QMimeData *PreviewText::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(selectedText());
    return data;
}
