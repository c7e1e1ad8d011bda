#include "PlaceholderCaptureControl.h"

#include "CaptureInterface.h"

namespace platform {

namespace {

// Each collection property lists one name here: "Test " and what it holds.
std::string TestEntryName(CaptureOp op) {
    switch (op) {
    case CaptureOp::VideoDevices: return "Test Video Device";
    case CaptureOp::VideoFormats: return "Test Video Format";
    case CaptureOp::AudioDevices: return "Test Audio Device";
    case CaptureOp::VideoInputs: return "Test Video Input";
    case CaptureOp::AudioInputs: return "Test Audio Input";
    default: return {};
    }
}

class OneNameCollection : public IDispatch {
public:
    OneNameCollection(int itemDispid, std::string name) : m_itemDispid(itemDispid), m_name(std::move(name)) {}
    Variant Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) override {
        if (dispid == kCollectionCount && kind == InvokeKind::PropertyGet) return Variant::I16(1);
        if (dispid == m_itemDispid && kind == InvokeKind::Method) {
            RequireArgs(dispid, args, {VariantType::I16});
            if (args[0].ToI16() != 0)
                throw DispatchError(DispatchError::Code::Failed, dispid, "No such item.");
            return Variant::Str(m_name);
        }
        throw DispatchError(DispatchError::Code::UnknownName, dispid,
                            "Unknown member " + std::to_string(dispid) + " of a name collection.");
    }

private:
    int m_itemDispid;
    std::string m_name;
};

}  // namespace

PlaceholderCaptureControl::PlaceholderCaptureControl(QWidget* parent)
    : PlaceholderControl(QStringLiteral("No capture component"), parent) {}

Variant PlaceholderCaptureControl::Invoke(int dispid, InvokeKind kind,
                                          const std::vector<Variant>&) {
    const CaptureOpInfo* op = FindCaptureOp(dispid);
    if (op && op->kind == kind) {
        if (kind == InvokeKind::PropertyGet)
            return Variant::Object(
                std::make_shared<OneNameCollection>(op->itemDispid, TestEntryName(op->op)));
        // Puts take anything; methods answer 0, which StartCapture reads as "started".
        if (kind == InvokeKind::PropertyPut) return Variant();
        return op->result == VariantType::Empty ? Variant() : Variant::I16(0);
    }
    throw DispatchError(DispatchError::Code::UnknownName, dispid,
                        "The capture control has no such member: " + std::to_string(dispid) + ".");
}

}  // namespace platform
