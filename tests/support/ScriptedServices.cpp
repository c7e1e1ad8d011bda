#include "ScriptedServices.h"

ScriptedServices::ScriptedServices() {
    platform::SetMessageService(this);
    platform::SetFileDialogService(this);
    platform::SetColourDialogService(this);
    platform::SetDesktopService(this);
}

ScriptedServices::~ScriptedServices() {
    platform::SetMessageService(nullptr);
    platform::SetFileDialogService(nullptr);
    platform::SetColourDialogService(nullptr);
    platform::SetDesktopService(nullptr);
}

QStringList ScriptedServices::messageTexts() const {
    QStringList out;
    for (const auto& m : messages) out << m.text;
    return out;
}

int ScriptedServices::Show(QWidget*, const QString& title, const QString& text,
                           platform::MsgButtons buttons, platform::MsgIcon icon) {
    messages.push_back({title, text, buttons, icon});
    if (!messageAnswers.empty()) {
        const int a = messageAnswers.front();
        messageAnswers.pop_front();
        return a;
    }
    return buttons == platform::MsgButtons::YesNo ? platform::IDNO : platform::IDOK;
}

std::optional<QString> ScriptedServices::Run(const platform::FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    // Moved out as a plain QString: copying the optional trips a false GCC 12
    // -Wmaybe-uninitialized.
    const bool chosen = fileAnswers.front().has_value();
    QString path = chosen ? std::move(*fileAnswers.front()) : QString();
    fileAnswers.pop_front();
    if (!chosen) return std::nullopt;
    return path;
}

std::optional<platform::Colour> ScriptedServices::Run(QWidget*, platform::Colour initial) {
    colourRequests.push_back(initial);
    if (colourAnswers.empty()) return std::nullopt;
    auto a = colourAnswers.front();
    colourAnswers.pop_front();
    return a;
}

bool ScriptedServices::OpenFolder(const QString& folder) {
    openedFolders << folder;
    return openFolderSucceeds;
}
