#pragma once

#include <QPlainTextEdit>
#include <QTimer>
#include <vector>

// A read-only view of a clipping's text that opens at once however long the text is. A line is
// laid out as one block, so the text goes in as pieces of bounded length, the first screenfuls at
// once and the rest a batch per turn of the event loop.
class PreviewText final : public QPlainTextEdit
{
public:
    explicit PreviewText(QWidget *parent = nullptr);

    void setText(const QString &text);
    // The whole text, also while the view is still taking it in.
    const QString &text() const { return m_text; }
    bool isComplete() const { return m_fed == m_text.size(); }
    // The selection as the clipping holds it: without the seams of long lines, with its own line
    // ends.
    QString selectedText() const;

protected:
    QMimeData *createMimeDataFromSelection() const override;

private:
    void feed();
    qsizetype textOffset(int position) const;

    QString m_text;
    qsizetype m_fed = 0;
    // Where each block's text starts in m_text.
    std::vector<qsizetype> m_blockStarts;
    QTimer m_feeder;
};
