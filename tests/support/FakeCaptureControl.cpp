#include "FakeCaptureControl.h"

#include <ostream>

using platform::DispatchError;
using platform::InvokeKind;
using platform::Variant;

namespace {

// A name collection as the control hands it out: fixed names, one item-name DISPID.
class FakeCollection : public platform::IDispatch {
public:
    FakeCollection(std::shared_ptr<FakeCaptureScript> script, int property, QStringList names,
                   int itemDispid)
        : m_script(std::move(script)), m_property(property), m_names(std::move(names)),
          m_itemDispid(itemDispid) {
        ++m_script->collectionsAlive;
    }
    ~FakeCollection() override { --m_script->collectionsAlive; }

    Variant Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) override {
        m_script->calls.push_back({m_property, dispid, kind, args});
        if (dispid == platform::kCollectionCount && kind == InvokeKind::PropertyGet) {
            platform::RequireArgs(dispid, args, {});
            return Variant::I16(static_cast<int16_t>(m_names.size()));
        }
        if (dispid == m_itemDispid && kind == InvokeKind::Method) {
            platform::RequireArgs(dispid, args, {platform::VariantType::I16});
            const int i = args[0].ToI16();
            if (i < 0 || i >= m_names.size())
                throw DispatchError(DispatchError::Code::Failed, dispid, "index out of range");
            return Variant::Str(m_names[i].toStdString());
        }
        throw DispatchError(DispatchError::Code::UnknownName, dispid,
                            "collection has no member " + std::to_string(dispid));
    }

private:
    std::shared_ptr<FakeCaptureScript> m_script;
    int m_property;
    QStringList m_names;
    int m_itemDispid;
};

QStringList PerDevice(const std::vector<QStringList>& lists, int device) {
    return device >= 0 && device < int(lists.size()) ? lists[device] : QStringList();
}

}  // namespace

std::string Describe(const FakeCall& c) {
    std::string s;
    if (c.collection) s += "[collection " + std::to_string(c.collection) + "] ";
    s += std::string(platform::InvokeKindName(c.kind)) + " " + std::to_string(c.dispid) + "(";
    for (size_t i = 0; i < c.args.size(); ++i) s += (i ? ", " : "") + c.args[i].Describe();
    return s + ")";
}

std::ostream& operator<<(std::ostream& out, const FakeCall& call) { return out << Describe(call); }

FakeCall Put(Op op, Variant value) { return {0, DispidOf(op), InvokeKind::PropertyPut, {std::move(value)}}; }
FakeCall Get(Op op) { return {0, DispidOf(op), InvokeKind::PropertyGet, {}}; }
FakeCall Method(Op op, std::vector<Variant> args) {
    return {0, DispidOf(op), InvokeKind::Method, std::move(args)};
}
FakeCall CountOf(Op collection) {
    return {DispidOf(collection), platform::kCollectionCount, InvokeKind::PropertyGet, {}};
}
FakeCall ItemNameOf(Op collection, int16_t index) {
    return {DispidOf(collection), platform::CaptureOpRow(collection).itemDispid, InvokeKind::Method,
            {Variant::I16(index)}};
}

std::vector<FakeCall> FakeCaptureScript::ControlCalls() const {
    std::vector<FakeCall> out;
    for (const FakeCall& c : calls)
        if (c.collection == 0) out.push_back(c);
    return out;
}

FakeCaptureRegistration::FakeCaptureRegistration() : m_script(std::make_shared<FakeCaptureScript>()) {
    platform::ControlContainer::Register(platform::kCaptureControlClassId,
                                         [script = m_script](QWidget* parent) {
                                             return new FakeCaptureControl(script, parent);
                                         });
}

FakeCaptureRegistration::~FakeCaptureRegistration() {
    platform::ControlContainer::Unregister(platform::kCaptureControlClassId);
}

FakeCaptureControl::FakeCaptureControl(std::shared_ptr<FakeCaptureScript> script, QWidget* parent)
    : HostedControl(parent), m_script(std::move(script)) {}

Variant FakeCaptureControl::Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) {
    FakeCaptureScript& s = *m_script;
    s.calls.push_back({0, dispid, kind, args});
    if (dispid == s.failDispid)
        throw DispatchError(DispatchError::Code::Failed, dispid,
                            "The capture control failed call " + std::to_string(dispid) + ".");
    const platform::CaptureOpInfo* row = platform::FindCaptureOp(dispid);
    if (!row) throw DispatchError(DispatchError::Code::UnknownName, dispid, "no such member");
    switch (kind) {
    case InvokeKind::PropertyPut: return Variant();
    case InvokeKind::PropertyGet: {
        auto collection = [&](const QStringList& names) {
            return Variant::Object(
                std::make_shared<FakeCollection>(m_script, dispid, names, row->itemDispid));
        };
        switch (row->op) {
        case Op::VideoDevices: return collection(s.videoDevices);
        case Op::VideoFormats: return collection(PerDevice(s.videoFormats, s.selectedVideoDevice));
        case Op::AudioDevices: return collection(s.audioDevices);
        case Op::VideoInputs: return collection(PerDevice(s.videoInputs, s.selectedVideoDevice));
        case Op::AudioInputs: return collection(s.audioInputs);
        case Op::VideoStandards: return collection({});
        default: break;
        }
        throw DispatchError(DispatchError::Code::UnknownName, dispid, "no such property");
    }
    case InvokeKind::Method:
        if (row->op == Op::SelectVideoDevice && args.size() == 1 &&
            args[0].Type() == platform::VariantType::I16)
            s.selectedVideoDevice = args[0].ToI16();
        if (row->op == Op::StartCapture) return Variant::I16(s.startResult);
        if (row->result == platform::VariantType::I16) return Variant::I16(0);
        if (row->result == platform::VariantType::Str) return Variant::Str("");
        return Variant();
    }
    return Variant();
}
