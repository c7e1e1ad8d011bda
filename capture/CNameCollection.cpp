#include "CNameCollection.h"

#include "platform/CaptureInterface.h"

using platform::InvokeKind;
using platform::Variant;

CNameCollection::CNameCollection(std::shared_ptr<platform::IDispatch> object, int itemNameDispid)
    : m_object(std::move(object)), m_itemNameDispid(itemNameDispid) {
    if (!m_object)
        throw platform::DispatchError(platform::DispatchError::Code::Failed, 0,
                                      "The capture control returned no name collection.");
}

int16_t CNameCollection::Count() const {
    return m_object->Invoke(platform::kCollectionCount, InvokeKind::PropertyGet, {}).ToI16();
}

QString CNameCollection::GetItemName(int16_t index) const {
    const Variant name = m_object->Invoke(m_itemNameDispid, InvokeKind::Method, {Variant::I16(index)});
    return QString::fromStdString(name.ToStr());
}

QStringList ReadAllNames(const std::function<CNameCollection()>& read) {
    QStringList names;
    const int16_t count = read().Count();
    for (int16_t i = 0; i < count; ++i) names << read().GetItemName(i);
    return names;
}
