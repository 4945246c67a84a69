#pragma once

#include "model/clippingitem.h"
#include "views/cards/cardtier.h"

#include <QImage>
#include <QList>
#include <QString>
#include <ostream>

// One clipping of every card layout, as the card tests and the pictures use them.
struct CardSample {
    QString name;
    ClippingItem item;
};

QList<CardSample> cardSamples();
// Readable strings in test failures.
void PrintTo(const QString &text, std::ostream *os);
void PrintTo(CardTier tier, std::ostream *os);
QByteArray pngBytes(const QImage &image);
ClippingItem textClipping(const QString &text);
ClippingItem secretClipping(const QString &text);
