#include "DeviceListFollower.h"

#include <QComboBox>
#include <QEvent>

#include <algorithm>

#include "CSettingsDialog.h"
#include "capture/CVideoCap.h"

namespace {
constexpr int kCheckEveryMs = 500;
}

DeviceListFollower::DeviceListFollower(CSettingsDialog& dialog, Binding binding)
    : QObject(&dialog), m_dialog(dialog), m_binding(std::move(binding)) {
    m_timer.setInterval(kCheckEveryMs);
    dialog.installEventFilter(this);
    connect(&m_timer, &QTimer::timeout, this, [this] { CheckQuietly(); });
}

bool DeviceListFollower::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_dialog && event->type() == QEvent::Show) {
        m_timer.start();
        CheckQuietly();
    } else if (watched == &m_dialog && event->type() == QEvent::Hide) {
        m_timer.stop();
    }
    return false;
}

void DeviceListFollower::CheckQuietly() {
    // Following is a courtesy: a control that cannot say what changed is not asked again
    // while the dialog is open, and its failure shows when the user acts, not every tick.
    try {
        Check();
    } catch (const std::exception&) {
        m_timer.stop();
    }
}

QString DeviceListFollower::AbsentName(const QString& name) {
    return QObject::tr("%1 (not connected)").arg(name);
}

QString DeviceListFollower::NameAt(int index) const {
    const QStringList& names = *m_binding.names;
    if (index >= 0 && index < names.size()) return names[index];
    return m_absent.value(index - int(names.size()));
}

void DeviceListFollower::Check() {
    QComboBox* combo = m_dialog.Combo(m_binding.listId);
    const QString shown = NameAt(combo ? combo->currentIndex() : -1);
    const QString chosen = NameAt(*m_binding.chosen);
    const bool changed = m_dialog.Capture().RefreshDevices();
    // A device not connected is listed only while it is chosen or on screen.
    const bool stale = std::any_of(m_absent.begin(), m_absent.end(),
                                   [&](const QString& name) { return name != shown && name != chosen; });
    if (!changed && !stale) return;
    if (changed) *m_binding.names = m_binding.read(m_dialog.Capture());
    const QStringList& names = *m_binding.names;
    m_absent.clear();
    for (const QString& name : {chosen, shown})
        if (!name.isEmpty() && !names.contains(name) && !m_absent.contains(name)) m_absent << name;
    auto indexOf = [&](const QString& name) {
        const int at = int(names.indexOf(name));
        return at >= 0 ? at : int(names.size() + m_absent.indexOf(name));
    };
    *m_binding.chosen = chosen.isEmpty() ? 0 : indexOf(chosen);
    if (!combo) return;
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(names);
    for (const QString& name : m_absent) combo->addItem(AbsentName(name));
    const int shownAt = shown.isEmpty() ? 0 : indexOf(shown);
    combo->setCurrentIndex(shownAt);
    if (changed && m_binding.shownMoved) m_binding.shownMoved(shownAt);
}
