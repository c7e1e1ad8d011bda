// A name collection of the capture control (devices, formats, inputs).
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Dispatch.h"

class CNameCollection {
public:
    CNameCollection(std::shared_ptr<platform::IDispatch> object, int itemNameDispid);

    int16_t Count() const;
    QString GetItemName(int16_t index) const;

private:
    std::shared_ptr<platform::IDispatch> m_object;
    int m_itemNameDispid;
};

// Every name of a collection in the control's order. The control hands out a fresh
// collection per read, so read is called once for the count and once per name.
QStringList ReadAllNames(const std::function<CNameCollection()>& read);
