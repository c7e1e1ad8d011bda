#include "platform/Keyring.h"

// glib's headers use names Qt's keywords take: no Qt header in this file.
#include <libsecret/secret.h>

namespace platform {

namespace {

const SecretSchema* Schema() {
    static const SecretSchema schema = {"org.capturestation.StreamKey",
                                        SECRET_SCHEMA_NONE,
                                        {{"purpose", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &schema;
}

constexpr const char* kPurpose = "live stream key";

// Takes the GError's words, if any, and frees it; true when there was none.
bool Succeeded(GError* e, std::string* error) {
    if (!e) return true;
    if (error) *error = e->message ? e->message : "the keyring did not answer";
    g_error_free(e);
    return false;
}

// The station goes on when the session bus goes away: by default GLib would end the process.
void KeepRunningWithoutTheBus() {
    static const bool once = [] {
        if (GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
            g_dbus_connection_set_exit_on_close(bus, FALSE);
            g_object_unref(bus);
        }
        return true;
    }();
    (void)once;
}

}  // namespace

bool KeyringStore(const std::string& secret, std::string* error) {
    KeepRunningWithoutTheBus();
    GError* e = nullptr;
    secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, "Capture Station stream key",
                               secret.c_str(), nullptr, &e, "purpose", kPurpose, nullptr);
    return Succeeded(e, error);
}

std::optional<std::string> KeyringLookup(std::string* error) {
    KeepRunningWithoutTheBus();
    GError* e = nullptr;
    gchar* found = secret_password_lookup_sync(Schema(), nullptr, &e, "purpose", kPurpose, nullptr);
    if (!Succeeded(e, error)) return std::nullopt;
    std::string secret = found ? found : "";
    if (found) secret_password_free(found);
    return secret;
}

bool KeyringClear(std::string* error) {
    KeepRunningWithoutTheBus();
    GError* e = nullptr;
    secret_password_clear_sync(Schema(), nullptr, &e, "purpose", kPurpose, nullptr);
    return Succeeded(e, error);
}

}  // namespace platform
