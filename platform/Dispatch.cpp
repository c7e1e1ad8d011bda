#include "Dispatch.h"

#include <cstdio>

namespace platform {

namespace {
[[noreturn]] void Mismatch(VariantType want, VariantType have) {
    throw DispatchError(DispatchError::Code::TypeMismatch, 0,
                        std::string("type mismatch: expected ") + VariantTypeName(want) +
                            ", got " + VariantTypeName(have));
}
}  // namespace

const char* VariantTypeName(VariantType t) {
    switch (t) {
    case VariantType::Empty: return "empty";
    case VariantType::I16: return "i16";
    case VariantType::I32: return "i32";
    case VariantType::Bool: return "bool";
    case VariantType::Str: return "str";
    case VariantType::Colour: return "colour";
    case VariantType::Object: return "object";
    }
    return "?";
}

const char* InvokeKindName(InvokeKind k) {
    switch (k) {
    case InvokeKind::Method: return "method";
    case InvokeKind::PropertyGet: return "get";
    case InvokeKind::PropertyPut: return "put";
    }
    return "?";
}

Variant::~Variant() = default;

int16_t Variant::ToI16() const {
    if (auto p = std::get_if<int16_t>(&m_value)) return *p;
    Mismatch(VariantType::I16, Type());
}
int32_t Variant::ToI32() const {
    if (auto p = std::get_if<int32_t>(&m_value)) return *p;
    Mismatch(VariantType::I32, Type());
}
bool Variant::ToBool() const {
    if (auto p = std::get_if<bool>(&m_value)) return *p;
    Mismatch(VariantType::Bool, Type());
}
const std::string& Variant::ToStr() const {
    if (auto p = std::get_if<std::string>(&m_value)) return *p;
    Mismatch(VariantType::Str, Type());
}
uint32_t Variant::ToColour() const {
    if (auto p = std::get_if<ColourRef>(&m_value)) return p->value;
    Mismatch(VariantType::Colour, Type());
}
std::shared_ptr<IDispatch> Variant::ToObject() const {
    if (auto p = std::get_if<std::shared_ptr<IDispatch>>(&m_value)) return *p;
    Mismatch(VariantType::Object, Type());
}

std::string Variant::Describe() const {
    char buf[32];
    switch (Type()) {
    case VariantType::Empty: return "empty";
    case VariantType::I16: return "i16 " + std::to_string(ToI16());
    case VariantType::I32: return "i32 " + std::to_string(ToI32());
    case VariantType::Bool: return ToBool() ? "bool true" : "bool false";
    case VariantType::Str: return "str \"" + ToStr() + "\"";
    case VariantType::Colour:
        std::snprintf(buf, sizeof buf, "colour 0x%06X", ToColour());
        return buf;
    case VariantType::Object: return "object";
    }
    return "?";
}

DispatchError::DispatchError(Code code, int dispid, const std::string& what)
    : std::runtime_error(what), m_code(code), m_dispid(dispid) {}

void RequireArgs(int dispid, const std::vector<Variant>& args,
                 std::initializer_list<VariantType> types) {
    if (args.size() != types.size())
        throw DispatchError(DispatchError::Code::BadArgCount, dispid,
                            "DISPID " + std::to_string(dispid) + ": expected " +
                                std::to_string(types.size()) + " arguments, got " +
                                std::to_string(args.size()));
    size_t i = 0;
    for (VariantType t : types) {
        if (args[i].Type() != t)
            throw DispatchError(DispatchError::Code::TypeMismatch, dispid,
                                "DISPID " + std::to_string(dispid) + ": argument " +
                                    std::to_string(i + 1) + " must be " + VariantTypeName(t) +
                                    ", got " + VariantTypeName(args[i].Type()));
        ++i;
    }
}

}  // namespace platform
