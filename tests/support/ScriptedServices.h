// Answers message boxes, file and colour dialogs from a script, and records what was asked
// and which folders were handed to the desktop.
#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

#include "platform/Services.h"

class ScriptedServices : public platform::IMessageService,
                         public platform::IFileDialogService,
                         public platform::IColourDialogService,
                         public platform::IDesktopService {
public:
    struct Message {
        QString title;
        QString text;
        platform::MsgButtons buttons;
        platform::MsgIcon icon;
    };

    // Installs itself on construction and restores the defaults on destruction.
    ScriptedServices();
    ~ScriptedServices() override;

    // Answers given in order; when the queue is empty a message box answers IDOK / IDNO,
    // a file dialog cancels and a colour dialog cancels.
    std::deque<int> messageAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<platform::Colour>> colourAnswers;

    std::vector<Message> messages;
    std::vector<platform::FileDialogRequest> fileRequests;
    std::vector<platform::Colour> colourRequests;
    QStringList openedFolders;
    bool openFolderSucceeds = true;

    QStringList messageTexts() const;

    int Show(QWidget* owner, const QString& title, const QString& text,
             platform::MsgButtons buttons, platform::MsgIcon icon) override;
    std::optional<QString> Run(const platform::FileDialogRequest& request) override;
    std::optional<platform::Colour> Run(QWidget* owner, platform::Colour initial) override;
    bool OpenFolder(const QString& folder) override;
};
