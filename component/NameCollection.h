// A name collection as the callers read it: Count and GetItemName under the DISPIDs of
// platform/CaptureInterface.h (the item DISPID is the collection row's).
#pragma once

#include "platform/Dispatch.h"

#include <string>
#include <vector>

namespace component {

class NameCollection : public platform::IDispatch {
public:
    NameCollection(std::vector<std::string> names, int itemDispid);
    platform::Variant Invoke(int dispid, platform::InvokeKind kind,
                             const std::vector<platform::Variant>& args) override;

private:
    std::vector<std::string> m_names;
    int m_itemDispid;
};

}  // namespace component
