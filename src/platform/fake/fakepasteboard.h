#pragma once

#include "capture/imagedecoder.h"
#include "capture/pasteboard.h"

#include <QBuffer>

// An in-memory clipboard for unit tests. Tests put content on it as another program would
// (copy), and read back what the program wrote (content()).
class FakePasteboard final : public Pasteboard
{
public:
    struct Content {
        QStringList types;
        QList<QUrl> fileURLs;
        std::optional<QByteArray> png;
        std::optional<QByteArray> tiff;
        std::optional<QByteArray> rtf;
        // Written by the program; reads decode png or tiff instead.
        std::optional<QImage> image;
        std::optional<QUrl> url;
        std::optional<QString> string;
    };

    qint64 changeCount() const override { return m_changeCount; }
    void setChangeHandler(std::function<void()> handler) override
    {
        m_changeHandler = std::move(handler);
    }

    QStringList types() override { return read(m_content.types); }
    QList<QUrl> fileURLs() override { return read(m_content.fileURLs); }
    PasteboardData data(PasteboardDataType type, qint64 limit) override
    {
        const std::optional<QByteArray> bytes = read(raw(type));
        if (bytes && bytes->size() > limit)
            return {.oversize = true};
        return {.bytes = bytes};
    }
    std::optional<QImage> image() override
    {
        ++m_imageDecodes;
        ++m_reads;
        if (m_content.image)
            return m_content.image;
        if (m_content.png) {
            if (std::optional<QImage> decoded = ImageDecoder::decode(*m_content.png, "png"))
                return decoded;
        }
        if (m_content.tiff)
            return ImageDecoder::decode(*m_content.tiff, "tiff");
        return std::nullopt;
    }

    void write(const PasteboardContent &content) override
    {
        m_content = {
            .rtf = content.rtf, .image = content.image, .url = content.url, .string = content.text};
        if (content.url && content.url->isLocalFile())
            m_content.fileURLs = {*content.url};
        if (content.concealed)
            m_content.types.append(PasteboardMarker::concealed);
        ++m_changeCount;
        ++m_writes;
    }

    // Another program replaces the content.
    void copy(Content content)
    {
        m_content = std::move(content);
        ++m_changeCount;
        if (m_changeHandler && m_notifiesChanges)
            m_changeHandler();
    }
    // Off: changes are found by polling alone, as with a clipboard without notifications.
    void setNotifiesChanges(bool notifies) { m_notifiesChanges = notifies; }
    void copyText(const QString &text, const QStringList &types = {QStringLiteral("text/plain")})
    {
        copy({.types = types, .string = text});
    }
    void copyImage(const QImage &image, const char *format = "PNG")
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        if (QByteArray(format) == "TIFF")
            copy({.types = {QStringLiteral("image/tiff")}, .tiff = bytes});
        else
            copy({.types = {QStringLiteral("image/png")}, .png = bytes});
    }

    const Content &content() const { return m_content; }
    // Reads of the content (not of the count) since the start.
    int reads() const { return m_reads; }
    int imageDecodes() const { return m_imageDecodes; }
    // Own writes since the start: each is one change other programs see.
    int writes() const { return m_writes; }

private:
    std::optional<QByteArray> raw(PasteboardDataType type) const
    {
        switch (type) {
        case PasteboardDataType::Png:
            return m_content.png;
        case PasteboardDataType::Tiff:
            return m_content.tiff;
        case PasteboardDataType::Rtf:
            return m_content.rtf;
        case PasteboardDataType::Text:
            return m_content.string ? std::optional(m_content.string->toUtf8()) : std::nullopt;
        }
        return std::nullopt;
    }
    template <typename T> T read(const T &value)
    {
        ++m_reads;
        return value;
    }

    Content m_content;
    qint64 m_changeCount = 0;
    std::function<void()> m_changeHandler;
    bool m_notifiesChanges = true;
    int m_reads = 0;
    int m_imageDecodes = 0;
    int m_writes = 0;
};
