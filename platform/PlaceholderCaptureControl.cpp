#include "PlaceholderCaptureControl.h"

namespace platform {

namespace {

// The collection properties of the capture control and the one name each lists here.
struct PlaceholderCollection {
    int dispid;
    int itemNameDispid;  // the formats collection names its items under another DISPID
    const char* name;
};
constexpr PlaceholderCollection kCollections[] = {
    {0x03, 3, "Test Video Device"}, {0x04, 5, "Test Video Format"},
    {0x19, 3, "Test Audio Device"}, {0x29, 3, "Test Video Input"},
    {0x34, 3, "Test Audio Input"},
};
constexpr int kCountDispid = 1;

class OneNameCollection : public IDispatch {
public:
    explicit OneNameCollection(const PlaceholderCollection& c) : m_c(c) {}
    Variant Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) override {
        if (dispid == kCountDispid && kind == InvokeKind::PropertyGet) return Variant::I16(1);
        if (dispid == m_c.itemNameDispid && kind == InvokeKind::Method) {
            RequireArgs(dispid, args, {VariantType::I16});
            if (args[0].toI16() != 0)
                throw DispatchError(DispatchError::Code::Failed, dispid, "No such item.");
            return Variant::Str(m_c.name);
        }
        throw DispatchError(DispatchError::Code::UnknownName, dispid,
                            "Unknown member " + std::to_string(dispid) + " of a name collection.");
    }

private:
    const PlaceholderCollection& m_c;
};

}  // namespace

PlaceholderCaptureControl::PlaceholderCaptureControl(QWidget* parent)
    : PlaceholderControl(QStringLiteral("No capture component"), parent) {}

Variant PlaceholderCaptureControl::Invoke(int dispid, InvokeKind kind,
                                          const std::vector<Variant>&) {
    switch (kind) {
    case InvokeKind::PropertyPut: return Variant();
    case InvokeKind::Method: return Variant::I16(0);  // StartCapture "started"
    case InvokeKind::PropertyGet:
        for (const PlaceholderCollection& c : kCollections)
            if (c.dispid == dispid) return Variant::Object(std::make_shared<OneNameCollection>(c));
        break;
    }
    throw DispatchError(DispatchError::Code::UnknownName, dispid,
                        "The capture control has no readable property " +
                            std::to_string(dispid) + ".");
}

}  // namespace platform
