#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QUrl>
#include <optional>

// One whole clipboard content as the program writes it: everything present is offered
// together, as one change of the clipboard.
struct PasteboardContent {
    // A web or a file URL.
    std::optional<QUrl> url;
    std::optional<QImage> image;
    std::optional<QByteArray> rtf;
    std::optional<QString> text;
    // Marked for password managers' rules, so that other clipboard managers keep no copy.
    bool concealed = false;
};
