// Late-bound calls into hosted controls: a DISPID, a call kind and typed arguments.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace platform {

class IDispatch;

// A colour reference as the colour dialog returns it: 0x00BBGGRR.
struct ColourRef {
    uint32_t value = 0;
    bool operator==(const ColourRef&) const = default;
};

enum class VariantType { Empty, I16, I32, Bool, Str, Colour, Object };

class Variant {
public:
    Variant() = default;
    // Out of line: inlined variant destructors trip a false -Wfree-nonheap-object in GCC 12.
    ~Variant();
    Variant(const Variant&) = default;
    Variant(Variant&&) noexcept = default;
    Variant& operator=(const Variant&) = default;
    Variant& operator=(Variant&&) noexcept = default;
    static Variant I16(int16_t v) { Variant r; r.m_value = v; return r; }
    static Variant I32(int32_t v) { Variant r; r.m_value = v; return r; }
    static Variant Bool(bool v) { Variant r; r.m_value = v; return r; }
    static Variant Str(std::string v) { Variant r; r.m_value = std::move(v); return r; }
    static Variant Colour(uint32_t v) { Variant r; r.m_value = ColourRef{v}; return r; }
    static Variant Object(std::shared_ptr<IDispatch> v) { Variant r; r.m_value = std::move(v); return r; }

    VariantType Type() const { return static_cast<VariantType>(m_value.index()); }
    bool IsEmpty() const { return Type() == VariantType::Empty; }

    // Typed reads; a value of another type is a dispatch error (type mismatch).
    int16_t ToI16() const;
    int32_t ToI32() const;
    bool ToBool() const;
    const std::string& ToStr() const;
    uint32_t ToColour() const;
    std::shared_ptr<IDispatch> ToObject() const;

    bool operator==(const Variant& other) const { return m_value == other.m_value; }
    std::string Describe() const;  // for diagnostics and test failure messages

private:
    std::variant<std::monostate, int16_t, int32_t, bool, std::string, ColourRef,
                 std::shared_ptr<IDispatch>> m_value;
};

const char* VariantTypeName(VariantType t);

enum class InvokeKind { Method, PropertyGet, PropertyPut };
const char* InvokeKindName(InvokeKind k);

// Raised by a failing dispatch call. It abandons the handler that made the call and is
// reported at the event-handler boundary, never let through the Qt event loop.
class DispatchError : public std::runtime_error {
public:
    enum class Code { UnknownName, BadArgCount, TypeMismatch, BadKind, Failed, NoControl };
    DispatchError(Code code, int dispid, const std::string& what);
    Code ErrorCode() const { return m_code; }
    int Dispid() const { return m_dispid; }

private:
    Code m_code;
    int m_dispid;
};

class IDispatch {
public:
    virtual ~IDispatch() = default;
    virtual Variant Invoke(int dispid, InvokeKind kind, const std::vector<Variant>& args) = 0;
};

// Argument checks for dispatch servers: throw the right DispatchError when a call's form
// does not match.
void RequireArgs(int dispid, const std::vector<Variant>& args,
                 std::initializer_list<VariantType> types);

}  // namespace platform
