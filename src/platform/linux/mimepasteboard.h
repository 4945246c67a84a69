#pragma once

#include "capture/pasteboard.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The clipboard of a Linux desktop, whose content is a set of MIME formats, seen as a
// Pasteboard. Adapters provide how formats are listed and read and what the last own write
// was; the mapping onto types, file URLs, raw data and images is the same for every display.
class MimePasteboard : public Pasteboard
{
public:
    static inline const QString uriListFormat = QStringLiteral("text/uri-list");
    static inline const QString utf8TextFormat = QStringLiteral("text/plain;charset=utf-8");
    static inline const QString plainTextFormat = QStringLiteral("text/plain");
    static inline const QString rtfFormat = QStringLiteral("text/rtf");
    static inline const QString pngFormat = QStringLiteral("image/png");
    static inline const QString tiffFormat = QStringLiteral("image/tiff");
    static inline const QString kdePasswordHintFormat = QStringLiteral("x-kde-passwordManagerHint");
    static inline const QString concealedTypeFormat =
        QStringLiteral("application/x-nspasteboard-concealed-type");
    static inline const QString gnomeCopiedFilesFormat =
        QStringLiteral("x-special/gnome-copied-files");

    qint64 changeCount() const final { return m_changeCount; }
    void setChangeHandler(std::function<void()> handler) final;

    QStringList types() final;
    QList<QUrl> fileURLs() final;
    PasteboardData data(PasteboardDataType type, qint64 limit) final;
    std::optional<QImage> image() final;

protected:
    // The formats of the current content that are content, not the transport's own.
    virtual QStringList contentFormats() = 0;
    // The bytes of one offered format if they fit in limit.
    virtual PasteboardData read(const QString &format, qint64 limit) = 0;
    virtual QString textFormat() = 0;
    // What the last own write held while it is still the content, else nothing.
    virtual const PasteboardContent *ownContent() const = 0;

    // Moves the change count; other programs' changes also reach the change handler.
    void countChange(bool own);
    // The content changed: the image is decoded anew.
    void forgetImage() { m_image.reset(); }

private:
    qint64 m_changeCount = 0;
    std::function<void()> m_changeHandler;
    std::optional<std::optional<QImage>> m_image;
};
