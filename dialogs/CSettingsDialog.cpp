#include "CSettingsDialog.h"

#include <QComboBox>

#include <cstdlib>

#include "platform/DataExchange.h"
#include "platform/Dispatch.h"

CVideoCap& CSettingsDialog::Capture() const {
    if (!m_mainWindow)
        throw platform::DispatchError(platform::DispatchError::Code::NoControl, 0,
                                      "The capture control is not available.");
    return m_mainWindow->Capture();
}

bool CSettingsDialog::SelectNearestSize(int id, int points) {
    QComboBox* list = Combo(id);
    if (!list || list->count() == 0) return false;
    int nearest = 0;
    for (int i = 1; i < list->count(); ++i)
        if (std::abs(platform::LeadingInt(list->itemText(i)) - points) <
            std::abs(platform::LeadingInt(list->itemText(nearest)) - points))
            nearest = i;
    if (nearest == list->currentIndex()) return false;
    list->setCurrentIndex(nearest);
    return true;
}
