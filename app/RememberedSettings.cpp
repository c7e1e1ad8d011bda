#include "RememberedSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

#include "platform/TemplateDialog.h"

namespace remembered {

namespace {
constexpr int kVersion = 1;

// A quoted INI value as QSettings reads it back: commas and blanks stay one string.
QString Quoted(const QString& text) {
    QString q = text;
    q.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return QLatin1Char('"') + q + QLatin1Char('"');
}
}  // namespace

QString FilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/capture-station/settings.ini");
}

Loaded Load(const QString& path) {
    Loaded loaded;
    if (!QFileInfo::exists(path)) return loaded;
    QFile probe(path);
    QString why;
    if (!probe.open(QIODevice::ReadOnly)) why = probe.errorString();
    probe.close();
    QSettings file(path, QSettings::IniFormat);
    if (why.isEmpty() && file.status() != QSettings::NoError) why = QStringLiteral("it is not a settings file");
    if (why.isEmpty() && file.value(QStringLiteral("version")).toInt() != kVersion)
        why = QStringLiteral("it has no version %1").arg(kVersion);
    if (why.isEmpty()) {
        Values values;
        for (const QString& key : file.allKeys())
            if (key != QLatin1String("version")) values.insert(key, file.value(key).toString());
        loaded.values = values;
        return loaded;
    }
    // Kept for whoever wants to look at it; the next save starts afresh.
    const QString aside = path + QStringLiteral(".bad");
    QFile::remove(aside);
    const bool moved = QFile::rename(path, aside);
    loaded.problem = QStringLiteral("The remembered settings in \"%1\" cannot be read (%2); the station starts "
                                    "with its initial values%3.")
                         .arg(QDir::toNativeSeparators(path), why,
                              moved ? QStringLiteral(" and keeps the file as \"%1\"").arg(QDir::toNativeSeparators(aside))
                                    : QString());
    return loaded;
}

QString Save(const QString& path, const Values& values) {
    if (!QDir().mkpath(QFileInfo(path).path()))
        return QStringLiteral("the folder \"%1\" cannot be made").arg(QDir::toNativeSeparators(QFileInfo(path).path()));
    // Grouped as QSettings reads them: "[Group]" then "key=value".
    QMap<QString, QStringList> groups;
    for (auto it = values.begin(); it != values.end(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        groups[it.key().left(slash)] << it.key().mid(slash + 1) + QLatin1Char('=') + Quoted(it.value());
    }
    QString text = QStringLiteral("[General]\nversion=%1\n").arg(kVersion);
    for (auto it = groups.begin(); it != groups.end(); ++it)
        text += QStringLiteral("\n[%1]\n").arg(it.key()) + it.value().join(QLatin1Char('\n')) + QLatin1Char('\n');
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit())
        return out.errorString();
    return {};
}

bool Forget(const QString& path) { return !QFileInfo::exists(path) || QFile::remove(path); }

void Capture(const platform::TemplateDialog& dialog, const QString& group, Values& values,
             std::initializer_list<int> skip) {
    for (const platform::ControlTemplate& c : dialog.Template().controls) {
        if (c.id == platform::kNoId || std::find(skip.begin(), skip.end(), c.id) != skip.end()) continue;
        const QString key = group + QLatin1Char('/') + QString::number(c.id);
        if (const QLineEdit* e = dialog.Edit(c.id); e && c.kind == platform::ControlKind::Edit)
            values[key] = e->text();
        else if (const QCheckBox* b = dialog.Check(c.id); b && c.kind == platform::ControlKind::CheckBox)
            values[key] = b->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        else if (const QComboBox* l = dialog.Combo(c.id); l && c.kind == platform::ControlKind::DropDownList)
            values[key] = l->currentText();
    }
}

QStringList Restore(platform::TemplateDialog& dialog, const QString& group, const Values& values) {
    QStringList missing;
    for (const platform::ControlTemplate& c : dialog.Template().controls) {
        const auto it = values.find(group + QLatin1Char('/') + QString::number(c.id));
        if (c.id == platform::kNoId || it == values.end()) continue;
        if (QLineEdit* e = dialog.Edit(c.id); e && c.kind == platform::ControlKind::Edit) {
            e->setText(*it);
        } else if (QCheckBox* b = dialog.Check(c.id); b && c.kind == platform::ControlKind::CheckBox) {
            b->setChecked(*it == QLatin1String("1"));
        } else if (QComboBox* l = dialog.Combo(c.id); l && c.kind == platform::ControlKind::DropDownList) {
            const int i = l->findText(*it);
            if (i >= 0)
                l->setCurrentIndex(i);
            else if (!it->isEmpty())
                missing << *it;
        }
    }
    return missing;
}

}  // namespace remembered
