#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

// What the vendor's version endpoint answers.
struct RemoteVersionInfo {
    QString version;
    qint64 build = 0;
    std::optional<QString> downloadURL;
    // Read for completeness; the program always offers its own upgrade command.
    std::optional<QString> homebrewCommand;

    bool operator==(const RemoteVersionInfo &) const = default;

    // Nothing unless the body is one JSON object with a text "version" and an integer-valued
    // "build" within 64 bits; the optional keys must be text or null, others are ignored.
    static std::optional<RemoteVersionInfo> decode(const QByteArray &json);
};
