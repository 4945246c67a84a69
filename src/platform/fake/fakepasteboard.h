#pragma once

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
    std::optional<QByteArray> data(PasteboardDataType type) override
    {
        switch (type) {
        case PasteboardDataType::Png:
            return read(m_content.png);
        case PasteboardDataType::Tiff:
            return read(m_content.tiff);
        case PasteboardDataType::Rtf:
            return read(m_content.rtf);
        }
        return std::nullopt;
    }
    std::optional<QImage> image() override
    {
        ++m_imageDecodes;
        ++m_reads;
        if (m_content.image)
            return m_content.image;
        for (const std::optional<QByteArray> &bytes : {m_content.png, m_content.tiff}) {
            if (!bytes)
                continue;
            const QImage decoded = QImage::fromData(*bytes);
            if (!decoded.isNull())
                return decoded;
        }
        return std::nullopt;
    }
    std::optional<QString> string() override { return read(m_content.string); }

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
