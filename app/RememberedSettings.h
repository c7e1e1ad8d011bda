// Settings kept between runs when the user asks for it ("Remember Settings"): one INI file in
// the user's configuration folder, written whole or not at all. The stream key never goes
// into it.
#pragma once

#include <QMap>
#include <QString>

#include <initializer_list>
#include <optional>

namespace platform {
class TemplateDialog;
}

namespace remembered {

using Values = QMap<QString, QString>;  // "Group/key" -> text

// ~/.config/capture-station/settings.ini (XDG_CONFIG_HOME when set).
QString FilePath();

struct Loaded {
    std::optional<Values> values;  // none: no file, or a damaged one
    QString problem;               // what went wrong, in words; empty when nothing did
};
// Reads the file; a damaged one is moved aside as "settings.ini.bad".
Loaded Load(const QString& path);
// Empty, or why the file could not be written.
QString Save(const QString& path, const Values& values);
// Deletes the file; false when it stays.
bool Forget(const QString& path);

// A template dialog's edit boxes, check boxes and lists under `group`, but those in `skip`.
void Capture(const platform::TemplateDialog& dialog, const QString& group, Values& values,
             std::initializer_list<int> skip = {});
// Puts them back in the template's order, as a user would choose them; a list entry that is
// not offered any more (a device not connected) leaves that list as it is. Returns the texts
// of list entries that were not there.
QStringList Restore(platform::TemplateDialog& dialog, const QString& group, const Values& values);

}  // namespace remembered
