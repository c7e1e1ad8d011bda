#include "platform/CaptureInterface.h"

#include <algorithm>
#include <cctype>

namespace platform {

const OutputFormatInfo* FindOutputFormat(int32_t value) {
    for (const OutputFormatInfo& f : kOutputFormats)
        if (f.value == value) return &f;
    return nullptr;
}

const OutputFormatInfo* OutputFormatNamed(std::string_view text) {
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    };
    for (const OutputFormatInfo& f : kOutputFormats)
        if (same(f.extension, text) || same(f.name, text)) return &f;
    return nullptr;
}

const CaptureOpInfo* FindCaptureOp(int dispid) {
    for (const CaptureOpInfo& op : kCaptureOps)
        if (op.dispid == dispid) return &op;
    return nullptr;
}

void CheckCall(const CaptureOpInfo& op, InvokeKind kind,
               const std::vector<Variant>& args) {
    const std::string where = std::string(op.name) + " (DISPID " + std::to_string(op.dispid) + ")";
    if (kind != op.kind)
        throw DispatchError(DispatchError::Code::BadKind, op.dispid,
                            where + ": called as " + InvokeKindName(kind) +
                                ", it is a " + InvokeKindName(op.kind));
    if (args.size() != op.argCount)
        throw DispatchError(DispatchError::Code::BadArgCount, op.dispid,
                            where + ": expected " + std::to_string(op.argCount) +
                                " arguments, got " + std::to_string(args.size()));
    for (size_t i = 0; i < args.size(); ++i)
        if (args[i].Type() != op.args[i])
            throw DispatchError(DispatchError::Code::TypeMismatch, op.dispid,
                                where + ": argument " + std::to_string(i + 1) + " must be " +
                                    VariantTypeName(op.args[i]) + ", got " +
                                    VariantTypeName(args[i].Type()));
}

}  // namespace platform
