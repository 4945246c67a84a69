#include "gnomecustomkeybinding.h"

#include <QStringList>
#include <memory>

// GLib's headers use a name that Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace
{

const char *const listSchema = "org.gnome.settings-daemon.plugins.media-keys";
const char *const entrySchema = "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";
const char *const listKey = "custom-keybindings";

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Settings = std::unique_ptr<GSettings, Unref>;

bool schemaExists(const char *id)
{
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    GSettingsSchema *schema = source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr;
    if (!schema)
        return false;
    g_settings_schema_unref(schema);
    return true;
}

QStringList paths(GSettings *settings)
{
    gchar **values = g_settings_get_strv(settings, listKey);
    QStringList list;
    for (gchar **value = values; value && *value; ++value)
        list.append(QString::fromUtf8(*value));
    g_strfreev(values);
    return list;
}

bool setPaths(GSettings *settings, const QStringList &list)
{
    std::vector<QByteArray> bytes;
    for (const QString &entry : list)
        bytes.push_back(entry.toUtf8());
    std::vector<const gchar *> values;
    for (const QByteArray &entry : bytes)
        values.push_back(entry.constData());
    values.push_back(nullptr);
    const bool written = g_settings_set_strv(settings, listKey, values.data());
    g_settings_sync();
    return written;
}

Settings entry()
{
    return Settings(g_settings_new_with_path(entrySchema, qPrintable(GnomeCustomKeybinding::path)));
}

} // namespace

const QString GnomeCustomKeybinding::command = QStringLiteral("quillstash --show-board");
const QString GnomeCustomKeybinding::path = QStringLiteral(
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/quillstash-show-board/");

GnomeCustomKeybinding::GnomeCustomKeybinding() = default;

bool GnomeCustomKeybinding::isAvailable() const
{
    return schemaExists(listSchema) && schemaExists(entrySchema);
}

bool GnomeCustomKeybinding::isAdded() const
{
    if (!isAvailable())
        return false;
    const Settings list(g_settings_new(listSchema));
    return paths(list.get()).contains(path);
}

bool GnomeCustomKeybinding::add()
{
    if (!isAvailable())
        return false;
    const Settings list(g_settings_new(listSchema));
    QStringList entries = paths(list.get());
    if (entries.contains(path))
        return true;
    const Settings binding = entry();
    const bool written =
        g_settings_set_string(binding.get(), "name", "Quillstash: show the clipboard board") &&
        g_settings_set_string(binding.get(), "command", qPrintable(command)) &&
        g_settings_set_string(binding.get(), "binding", "<Control><Alt>v");
    if (!written)
        return false;
    entries.append(path);
    return setPaths(list.get(), entries);
}

bool GnomeCustomKeybinding::remove()
{
    if (!isAvailable())
        return false;
    const Settings list(g_settings_new(listSchema));
    QStringList entries = paths(list.get());
    entries.removeAll(path);
    if (!setPaths(list.get(), entries))
        return false;
    // Nothing of ours is left behind in the settings.
    const Settings binding = entry();
    for (const char *key : {"name", "command", "binding"})
        g_settings_reset(binding.get(), key);
    g_settings_sync();
    return true;
}
