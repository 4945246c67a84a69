#pragma once

#include "capture/clippingsource.h"
#include "model/clippingitem.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QUrl>
#include <optional>

// Turns one representation of a clipboard change into a clipping: its type, rich kind and
// fields.
namespace ContentClassifier
{

enum class TextKind { Color, Link, Text };

// The tests are made on the text with white space trimmed from both ends.
bool isColorText(QStringView trimmed);
bool isLinkText(QStringView trimmed);
TextKind classifyText(const QString &text);

// Multi-line text from a code editor or terminal, or text with two distinct keywords and a
// brace or parenthesis.
bool looksLikeCode(const QString &text, const QString &appName);

// "W × H px"
QString dimensionsText(QSize size);

ClippingItem fileClipping(const QUrl &fileURL, const ClippingSource &source);
ClippingItem imageClipping(const QByteArray &png, QSize size, const ClippingSource &source);
// Sealed at once; the plain text is never kept, not even when sealing fails.
ClippingItem secretTextClipping(const QString &text, const ClippingSource &source);
// `rtf` is kept for a plain text clipping only.
ClippingItem textClipping(const QString &text, TextKind kind, std::optional<QByteArray> rtf,
                          const ClippingSource &source);

} // namespace ContentClassifier
