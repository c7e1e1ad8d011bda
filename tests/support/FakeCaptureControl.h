// A recording stand-in for the capture control: registered under the component's class id,
// it logs every dispatch call (on itself and on the name collections it hands out) and
// answers from a script.
#pragma once

#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/CaptureInterface.h"
#include "platform/ControlContainer.h"

using Op = platform::CaptureOp;
using platform::DispidOf;

struct FakeCall {
    // 0 for the control itself; for a call on a name collection, the DISPID of the
    // collection property it was read from.
    int collection = 0;
    int dispid = 0;
    platform::InvokeKind kind = platform::InvokeKind::Method;
    std::vector<platform::Variant> args;

    bool operator==(const FakeCall&) const = default;
};
std::string Describe(const FakeCall& call);
std::ostream& operator<<(std::ostream& out, const FakeCall& call);

// Shorthands for expected calls on the control.
FakeCall Put(Op op, platform::Variant value);
FakeCall Get(Op op);
FakeCall Method(Op op, std::vector<platform::Variant> args = {});
// Calls on a name collection read from `collection`, with the member DISPIDs of the table.
FakeCall CountOf(Op collection);
FakeCall ItemNameOf(Op collection, int16_t index);

struct FakeCaptureScript {
    QStringList videoDevices{"Camera A", "Camera B"};
    // Formats and inputs per video device; the device chosen by SelectVideoDevice (0 at
    // first) decides which list VideoFormats and VideoInputs report.
    std::vector<QStringList> videoFormats{{"640x480", "320x240"}, {"1280x720"}};
    std::vector<QStringList> videoInputs{{"Composite", "S-Video"}, {}};
    QStringList audioDevices{"Microphone"};
    QStringList audioInputs{"Line In", "Mic In"};
    int16_t startResult = 0;
    // A call with this DISPID on the control fails (0: none).
    int failDispid = 0;

    std::vector<FakeCall> calls;
    int collectionsAlive = 0;  // collection objects not yet released
    int selectedVideoDevice = 0;

    // Calls made on the control itself, in order, without the collection traffic.
    std::vector<FakeCall> ControlCalls() const;
    void Clear() { calls.clear(); }
};

// Registers the fake for the lifetime of the object and gives access to its script.
class FakeCaptureRegistration {
public:
    FakeCaptureRegistration();
    ~FakeCaptureRegistration();
    FakeCaptureRegistration(const FakeCaptureRegistration&) = delete;
    FakeCaptureRegistration& operator=(const FakeCaptureRegistration&) = delete;

    FakeCaptureScript& script() { return *m_script; }
    const FakeCaptureScript& script() const { return *m_script; }
    FakeCaptureScript* operator->() { return m_script.get(); }

private:
    std::shared_ptr<FakeCaptureScript> m_script;
};

class FakeCaptureControl : public platform::HostedControl, private platform::IDispatch {
    Q_OBJECT
public:
    FakeCaptureControl(std::shared_ptr<FakeCaptureScript> script, QWidget* parent);
    platform::IDispatch& Dispatch() override { return *this; }

private:
    platform::Variant Invoke(int dispid, platform::InvokeKind kind,
                             const std::vector<platform::Variant>& args) override;
    std::shared_ptr<FakeCaptureScript> m_script;
};
