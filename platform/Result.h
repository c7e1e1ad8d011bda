// "A value, or why there is none": the one way the capture component and the layers below
// the window say that something failed. The reason is in words a person can read, since it
// ends in the user's message ("Capture could not start: <reason>") or in a diagnostic.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace platform {

struct Failure {
    std::string reason;
};

inline Failure Fail(std::string reason) { return Failure{std::move(reason)}; }

template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : m_value(std::in_place_index<1>, std::move(failure)) {}

    bool IsOk() const { return m_value.index() == 0; }
    explicit operator bool() const { return IsOk(); }
    T& operator*() { return std::get<0>(m_value); }
    const T& operator*() const { return std::get<0>(m_value); }
    T* operator->() { return &std::get<0>(m_value); }
    const T* operator->() const { return &std::get<0>(m_value); }
    const std::string& Error() const { return std::get<1>(m_value).reason; }
    // The failure, to hand on from a function of another result type.
    Failure AsFailure() const { return std::get<1>(m_value); }

private:
    std::variant<T, Failure> m_value;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : m_failure(std::move(failure)) {}

    bool IsOk() const { return !m_failure; }
    explicit operator bool() const { return IsOk(); }
    const std::string& Error() const { return m_failure->reason; }
    Failure AsFailure() const { return *m_failure; }

private:
    std::optional<Failure> m_failure;
};

inline Result<> Ok() { return {}; }

}  // namespace platform
