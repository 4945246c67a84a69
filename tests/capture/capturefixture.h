#pragma once

#include "model/clippingjson.h"
#include "statefixture.h"

#include <QFile>

// A state over fakes whose history starts as the given clippings, with an ordinary
// application in front.
class CaptureFixture : public StateFixture
{
protected:
    void SetUp() override
    {
        m_frontApplication.setFront(QStringLiteral("Editor"), QStringLiteral("org.example.editor"));
    }

    static ClippingItem seedItem(const QString &text = QStringLiteral("seed"))
    {
        return ClippingItem::make({.type = ClippingType::Text,
                                   .textContent = text,
                                   .sourceAppName = QStringLiteral("Seed"),
                                   .sourceAppBundleID = QString()});
    }

    ClipboardManagerState &start(const QList<ClippingItem> &items = {seedItem()})
    {
        QByteArray json = "{\"items\":[";
        for (qsizetype i = 0; i < items.size(); ++i)
            json += (i ? "," : "") + ClippingJson::encode(items[i]);
        QFile file(storePath());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json + "],\"collections\":[]}");
        file.close();
        return makeState();
    }

    void poll() { state().checkPasteboard(); }
    qsizetype count() { return state().items().size(); }
    const ClippingItem &newest() { return state().items().first(); }
    PersistedStore storedFile() const
    {
        QFile file(storePath());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return ClippingJson::decodeStore(file.readAll()).value_or(PersistedStore{});
    }
};
