// SPDX-License-Identifier: GPL-3.0-or-later
// GIO names a struct member "signals", which Qt's headers define away: GIO comes first.
#include <gio/gio.h>

#include "hotkeys/GnomeKeybindings.h"

namespace Hotkeys {

namespace {

constexpr const char *kSchemas[] = {
    "org.gnome.desktop.wm.keybindings",
    "org.gnome.shell.keybindings",
    "org.gnome.mutter.keybindings",
    "org.gnome.mutter.wayland.keybindings",
    "org.gnome.settings-daemon.plugins.media-keys",
};
constexpr char kCustomSchema[] = "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";

void appendValue(GVariant *value, QStringList &out)
{
    if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING)) {
        out.append(QString::fromUtf8(g_variant_get_string(value, nullptr)));
    } else if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING_ARRAY)) {
        gsize count = 0;
        const gchar **strings = g_variant_get_strv(value, &count);
        for (gsize i = 0; i < count; ++i)
            out.append(QString::fromUtf8(strings[i]));
        g_free(strings);
    }
}

// Every string or string-list key of one schema (at a path, for a relocatable one).
void appendSchema(GSettingsSchemaSource *source, const char *id, const char *path, QStringList &out)
{
    GSettingsSchema *schema = g_settings_schema_source_lookup(source, id, TRUE);
    if (!schema)
        return;
    GSettings *settings = g_settings_new_full(schema, nullptr, path);
    gchar **keys = g_settings_schema_list_keys(schema);
    for (gchar **key = keys; key && *key; ++key) {
        GVariant *value = g_settings_get_value(settings, *key);
        appendValue(value, out);
        g_variant_unref(value);
    }
    g_strfreev(keys);
    g_object_unref(settings);
    g_settings_schema_unref(schema);
}

} // namespace

QStringList gnomeKeybindings()
{
    QStringList out;
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return out;
    for (const char *id : kSchemas)
        appendSchema(source, id, nullptr, out);

    // Custom keybindings live at the paths the media-keys schema lists.
    GSettingsSchema *mediaKeys = g_settings_schema_source_lookup(source, kSchemas[4], TRUE);
    if (mediaKeys && g_settings_schema_has_key(mediaKeys, "custom-keybindings")) {
        GSettings *settings = g_settings_new_full(mediaKeys, nullptr, nullptr);
        gchar **paths = g_settings_get_strv(settings, "custom-keybindings");
        for (gchar **path = paths; path && *path; ++path) {
            GSettingsSchema *custom = g_settings_schema_source_lookup(source, kCustomSchema, TRUE);
            if (!custom)
                break;
            GSettings *binding = g_settings_new_full(custom, nullptr, *path);
            gchar *text = g_settings_get_string(binding, "binding");
            out.append(QString::fromUtf8(text));
            g_free(text);
            g_object_unref(binding);
            g_settings_schema_unref(custom);
        }
        g_strfreev(paths);
        g_object_unref(settings);
    }
    if (mediaKeys)
        g_settings_schema_unref(mediaKeys);
    return out;
}

} // namespace Hotkeys
