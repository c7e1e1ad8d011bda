#include "Services.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

namespace platform {

namespace {

// Qt's file and colour dialogs keep their history (last folder, visited places, custom
// colours) in the user's settings. The station stores nothing between runs, so they keep it
// in a private folder that goes when the program ends.
void KeepDialogHistoryPrivate() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/capture-station-dialogs-XXXXXX"));
    static const bool pointed = [] {
        if (!folder.isValid()) return false;
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, folder.path());
        return true;
    }();
    (void)pointed;
}

class QtMessageService : public IMessageService {
public:
    int Show(QWidget* owner, const QString& title, const QString& text, MsgButtons buttons,
             MsgIcon icon) override {
        QMessageBox box(owner);
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Stop: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        }
        if (buttons == MsgButtons::YesNo) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return IDOK;
    }
};

class QtFileDialogService : public IFileDialogService {
public:
    std::optional<QString> Run(const FileDialogRequest& r) override {
        KeepDialogHistoryPrivate();
        QFileDialog dlg(r.owner);
        dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(r.save ? QFileDialog::AnyFile
                               : (r.multiSelect ? QFileDialog::ExistingFiles
                                                : QFileDialog::ExistingFile));
        if (r.save && r.mustExist) dlg.setFileMode(QFileDialog::ExistingFile);
        const QStringList filters = ConvertFilter(r.filter);
        dlg.setNameFilters(filters);
        if (r.selectedFilter >= 0 && r.selectedFilter < filters.size())
            dlg.selectNameFilter(filters[r.selectedFilter]);
        if (!r.defaultExt.isEmpty()) dlg.setDefaultSuffix(r.defaultExt);
        if (r.suffixFollowsFilter) {
            // A name typed without an extension takes the one of the type chosen in the list.
            QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg](const QString& filter) {
                const QRegularExpressionMatch m =
                    QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)\\)$")).match(filter);
                if (m.hasMatch()) dlg.setDefaultSuffix(m.captured(1));
            });
        }
        if (!r.initialDir.isEmpty()) dlg.setDirectory(r.initialDir);
        if (!r.initialName.isEmpty()) dlg.selectFile(r.initialName);
        if (!r.confirmOverwrite) dlg.setOption(QFileDialog::DontConfirmOverwrite);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        return dlg.selectedFiles().first();
    }
};

class QtColourDialogService : public IColourDialogService {
public:
    std::optional<Colour> Run(QWidget* owner, Colour initial) override {
        KeepDialogHistoryPrivate();
        QColorDialog dlg(ToQColor(initial), owner);
        if (dlg.exec() != QDialog::Accepted) return std::nullopt;
        return FromQColor(dlg.selectedColor());
    }
};

class QtDesktopService : public IDesktopService {
public:
    bool OpenFolder(const QString& folder) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    }
};

QtMessageService g_qtMessages;
QtFileDialogService g_qtFiles;
QtColourDialogService g_qtColours;
QtDesktopService g_qtDesktop;
IMessageService* g_messages = &g_qtMessages;
IFileDialogService* g_files = &g_qtFiles;
IColourDialogService* g_colours = &g_qtColours;
IDesktopService* g_desktop = &g_qtDesktop;

}  // namespace

int ShowMessage(QWidget* owner, const QString& text, MsgButtons buttons, MsgIcon icon) {
    return g_messages->Show(owner, QString::fromLatin1(kAppName), text, buttons, icon);
}

std::optional<QString> RunFileDialog(const FileDialogRequest& request) {
    return g_files->Run(request);
}

std::optional<Colour> RunColourDialog(QWidget* owner, Colour initial) {
    return g_colours->Run(owner, initial);
}

bool OpenFolder(const QString& folder) { return g_desktop->OpenFolder(folder); }

QStringList ConvertFilter(const QString& filter) {
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString label = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed();
        if (label.isEmpty() && patterns.isEmpty()) break;  // the closing "||"
        QString qtPatterns = patterns;
        qtPatterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A label that already ends with its patterns shows them once.
        if (label.endsWith(QStringLiteral("(%1)").arg(qtPatterns)))
            out << label;
        else
            out << QStringLiteral("%1 (%2)").arg(label, qtPatterns);
    }
    return out;
}

void SetMessageService(IMessageService* s) { g_messages = s ? s : &g_qtMessages; }
void SetFileDialogService(IFileDialogService* s) { g_files = s ? s : &g_qtFiles; }
void SetColourDialogService(IColourDialogService* s) { g_colours = s ? s : &g_qtColours; }
void SetDesktopService(IDesktopService* s) { g_desktop = s ? s : &g_qtDesktop; }

}  // namespace platform
