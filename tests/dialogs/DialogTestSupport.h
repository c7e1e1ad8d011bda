// A main window stand-in for the settings dialogs: a capture wrapper on a recording fake.
#pragma once

#include <QComboBox>
#include <QStringList>

#include "FakeCaptureControl.h"
#include "capture/CVideoCap.h"
#include "dialogs/CaptureHost.h"

struct FakeCaptureHost : CaptureHost {
    std::shared_ptr<FakeCaptureScript> script = std::make_shared<FakeCaptureScript>();
    FakeCaptureControl control{script, nullptr};
    CVideoCap cap;
    FakeCaptureHost() { cap.Attach(&control); }
    CVideoCap& Capture() override { return cap; }
    std::vector<FakeCall> Calls() const { return script->ControlCalls(); }
};

// What the user does when picking an entry of a drop-down list.
inline void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

inline QStringList Items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}
