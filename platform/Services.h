// Everything that asks the user something and waits: message boxes, file and colour dialogs;
// and the one hand-over to the desktop, opening a folder. Each goes through a replaceable
// service so tests can answer it.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "Colour.h"

class QWidget;

namespace platform {

inline constexpr const char* kAppName = "Capture Station";

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Exclamation, Stop, Question, Information };
// Results as the message box returns them.
enum MsgResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

class IMessageService {
public:
    virtual ~IMessageService() = default;
    virtual int Show(QWidget* owner, const QString& title, const QString& text,
                     MsgButtons buttons, MsgIcon icon) = 0;
};

// A modal message box with the application's name as its title.
int ShowMessage(QWidget* owner, const QString& text, MsgButtons buttons = MsgButtons::Ok,
                MsgIcon icon = MsgIcon::None);

struct FileDialogRequest {
    bool save = false;
    QWidget* owner = nullptr;
    QString filter;       // "label|pattern|label|pattern||" as the callers write it
    QString defaultExt;   // without the dot; empty for none
    int selectedFilter = 0;  // the entry of the filter list chosen at first
    // Save: choosing a type in the list makes its extension the one added to a bare name.
    bool suffixFollowsFilter = false;
    QString initialName;
    QString initialDir;   // the folder the dialog opens in; empty for the platform's choice
    bool mustExist = false;        // the chosen file must exist
    bool confirmOverwrite = false;  // ask before replacing an existing file (save only)
    bool multiSelect = false;
};

class IFileDialogService {
public:
    virtual ~IFileDialogService() = default;
    // The chosen full path, or nothing when the user cancels.
    virtual std::optional<QString> Run(const FileDialogRequest& request) = 0;
};

std::optional<QString> RunFileDialog(const FileDialogRequest& request);

// "label|pattern|..||" to Qt's ";;"-separated name filters ("label (pattern pattern)").
QStringList ConvertFilter(const QString& filter);

class IColourDialogService {
public:
    virtual ~IColourDialogService() = default;
    // Opened full with initial preselected; nothing when the user cancels.
    virtual std::optional<Colour> Run(QWidget* owner, Colour initial) = 0;
};

std::optional<Colour> RunColourDialog(QWidget* owner, Colour initial);

class IDesktopService {
public:
    virtual ~IDesktopService() = default;
    // Shows folder in the desktop's file manager; false when nothing could show it.
    virtual bool OpenFolder(const QString& folder) = 0;
};

bool OpenFolder(const QString& folder);

// Install a service; nullptr restores the default Qt one. The caller keeps ownership.
void SetMessageService(IMessageService* service);
void SetFileDialogService(IFileDialogService* service);
void SetColourDialogService(IColourDialogService* service);
void SetDesktopService(IDesktopService* service);

}  // namespace platform
