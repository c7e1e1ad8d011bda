#include "component/NameCollection.h"

#include "platform/CaptureInterface.h"

#include <algorithm>

namespace component {

using platform::DispatchError;
using platform::InvokeKind;
using platform::Variant;
using platform::VariantType;

NameCollection::NameCollection(std::vector<std::string> names, int itemDispid)
    : m_names(std::move(names)), m_itemDispid(itemDispid) {
    // The count travels as a 16-bit value.
    if (m_names.size() > 32767) m_names.resize(32767);
}

Variant NameCollection::Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) {
    if (dispid == platform::kCollectionCount) {
        if (kind != InvokeKind::PropertyGet)
            throw DispatchError(DispatchError::Code::BadKind, dispid, "Count is a property get");
        platform::RequireArgs(dispid, args, {});
        return Variant::I16(static_cast<int16_t>(m_names.size()));
    }
    if (dispid == m_itemDispid) {
        if (kind != InvokeKind::Method)
            throw DispatchError(DispatchError::Code::BadKind, dispid, "GetItemName is a method");
        platform::RequireArgs(dispid, args, {VariantType::I16});
        const int index = args[0].ToI16();
        if (index < 0 || index >= static_cast<int>(m_names.size()))
            throw DispatchError(DispatchError::Code::Failed, dispid,
                                "GetItemName: no item " + std::to_string(index) + " of " +
                                    std::to_string(m_names.size()));
        return Variant::Str(m_names[static_cast<size_t>(index)]);
    }
    throw DispatchError(DispatchError::Code::UnknownName, dispid,
                        "name collection has no DISPID " + std::to_string(dispid));
}

}  // namespace component
