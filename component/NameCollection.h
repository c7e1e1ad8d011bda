// A name collection as the callers read it: Count (DISPID 1, property get, i16) and
// GetItemName (a method taking an i16 index, returning str) under the DISPID given.
#pragma once

#include "platform/Dispatch.h"

#include <string>
#include <vector>

namespace component {

class NameCollection : public platform::IDispatch {
public:
    static constexpr int kCountDispid = 1;
    static constexpr int kItemDispid = 3;
    static constexpr int kFormatItemDispid = 5;  // the VideoFormats collection

    NameCollection(std::vector<std::string> names, int itemDispid);
    platform::Variant Invoke(int dispid, platform::InvokeKind kind,
                             const std::vector<platform::Variant>& args) override;

private:
    std::vector<std::string> m_names;
    int m_itemDispid;
};

}  // namespace component
