// The desktop's keyring (the Secret Service over D-Bus), where the stream key is kept when
// settings are remembered: never in a file of ours.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Each returns false (or nothing) with the reason in `error` when no keyring answers.
bool KeyringStore(const std::string& secret, std::string* error);
// The stored key; an empty string when the keyring has none.
std::optional<std::string> KeyringLookup(std::string* error);
bool KeyringClear(std::string* error);

}  // namespace platform
