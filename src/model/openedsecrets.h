#pragma once

#include <QByteArray>
#include <QString>
#include <QUuid>
#include <optional>

// Opened secret texts, kept in memory per clipping so that painting a card does not run the
// cipher again. An entry is used only while the clipping still holds the sealed bytes it was
// opened from; the history forgets a clipping's entry when the clipping leaves it.
namespace OpenedSecrets
{

std::optional<QString> open(const QUuid &id, const QByteArray &sealed);
void forget(const QUuid &id);
void forgetAll();

} // namespace OpenedSecrets
