#include "SkinKeyCommands.h"

void SkinKeyCommands::Add(const QKeySequence& key, const QStringList& names) {
    if (!key.isEmpty() && !names.isEmpty()) m_bindings.push_back({key, names});
}

QString SkinKeyCommands::CommandFor(const QKeySequence& key, const ButtonShown& shown) const {
    for (const Binding& b : m_bindings) {
        if (b.key != key) continue;
        bool anyButton = false;
        for (const QString& name : b.names) {
            const std::optional<bool> state = shown(name);
            if (state && *state) return name;
            anyButton = anyButton || state.has_value();
        }
        return anyButton ? QString() : b.names.back();
    }
    return {};
}

QString SkinKeyCommands::KeyTextFor(const QString& name) const {
    for (const Binding& b : m_bindings)
        if (b.names.contains(name)) return b.key.toString(QKeySequence::NativeText);
    return {};
}
