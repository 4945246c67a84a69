#include "cardsamples.h"

#include <QBuffer>
#include <QPainter>

namespace
{

ClippingItem base(ClippingType type, const QString &text)
{
    ClippingItem item;
    item.type = type;
    item.textContent = text;
    item.sourceAppName = QStringLiteral("Text Editor");
    item.sourceAppBundleID = QStringLiteral("org.example.Editor");
    return item;
}

QImage sampleImage()
{
    QImage image(160, 100, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(230, 120, 40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(20, 10, 80, 80));
    painter.setBrush(QColor(40, 140, 230, 180));
    painter.drawRect(QRectF(70, 30, 80, 60));
    return image;
}

} // namespace

void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

void PrintTo(CardTier tier, std::ostream *os)
{
    *os << byTier(tier, "compact", "roomy", "standard");
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

ClippingItem textClipping(const QString &text)
{
    return ClippingItem::make(base(ClippingType::Text, text));
}

ClippingItem secretClipping(const QString &text)
{
    ClippingItem item = base(ClippingType::Text, text);
    item.isPassword = true;
    item.sourceAppName = QStringLiteral("Password Safe");
    return ClippingItem::make(item);
}

QList<CardSample> cardSamples()
{
    QList<CardSample> samples;
    samples.append({QStringLiteral("text"),
                    textClipping(QStringLiteral("Meeting notes: bring the quarterly figures, the "
                                                "draft contract and a fresh pot of coffee.\nSecond "
                                                "line of the note."))});
    samples.append({QStringLiteral("secret"), secretClipping(QStringLiteral("hunter2-correct"))});

    ClippingItem headline = textClipping(QStringLiteral("whatever the text says"));
    headline.richKind = RichContentKind::CoralHeadline;
    samples.append({QStringLiteral("headline"), headline});

    ClippingItem code = textClipping(
        QStringLiteral("struct Greeter {\n    let name: String\n    func greet() -> Bool {\n"
                       "        if name == nil { return false }\n        print(\"Hello, \\(name)\")"
                       "\n        return true\n    }\n}\nvar count: Int = 3\nclass Printer {}"));
    code.richKind = RichContentKind::CodeSnippet;
    samples.append({QStringLiteral("code"), code});

    ClippingItem event = textClipping(QStringLiteral("Design review"));
    event.richKind = RichContentKind::CalendarEvent;
    event.calendarSchedule = QStringLiteral("Thursday, 14:00 – 15:00");
    samples.append({QStringLiteral("calendar"), event});

    samples.append({QStringLiteral("emoji"), textClipping(QStringLiteral("😀🎉👍🏽"))});

    ClippingItem link = base(ClippingType::Url, QStringLiteral("https://example.org/articles/"
                                                               "painting-cards-with-qpainter"));
    link.urlTitle = QStringLiteral("Painting cards with QPainter");
    samples.append({QStringLiteral("link"), link});

    ClippingItem colour = base(ClippingType::Color, QStringLiteral("#FF8800"));
    colour.colorHex = QStringLiteral("#FF8800");
    samples.append({QStringLiteral("color"), colour});

    ClippingItem image = base(ClippingType::Image, QString());
    image.imageData = pngBytes(sampleImage());
    image.imageDimensions = QStringLiteral("160 × 100 px");
    samples.append({QStringLiteral("image"), image});

    ClippingItem file = base(ClippingType::File, QStringLiteral("Quarterly Report.pdf"));
    file.fileName = QStringLiteral("Quarterly Report.pdf");
    file.filePath = QStringLiteral("/nonexistent/Documents");
    samples.append({QStringLiteral("file"), file});
    for (CardSample &sample : samples)
        sample.item = ClippingItem::make(sample.item);
    return samples;
}
