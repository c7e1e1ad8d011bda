// Keys of a skinned window that stand for its skin buttons, so that the keyboard reaches
// the commands the mouse does and the buttons' tool tips can name the key.
#pragma once

#include <QKeySequence>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class SkinKeyCommands {
public:
    // Whether the skin's button of a name is shown; nothing when the skin has none.
    using ButtonShown = std::function<std::optional<bool>(const QString& name)>;

    // key runs the command of the first of names whose button is shown, so one key can
    // serve a pair of buttons that take turns (play and pause). When the skin has none of
    // the buttons, the last name runs: the command still exists without its picture.
    void Add(const QKeySequence& key, const QStringList& names);

    // The skin name a key press stands for; empty when the key is not bound, or the skin
    // hides every button of it.
    QString CommandFor(const QKeySequence& key, const ButtonShown& shown) const;

    // The first key bound to name, as the user reads it ("Ctrl+R"); empty for none.
    QString KeyTextFor(const QString& name) const;

private:
    struct Binding {
        QKeySequence key;
        QStringList names;
    };
    std::vector<Binding> m_bindings;
};
