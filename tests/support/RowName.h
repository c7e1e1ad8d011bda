// Names for the rows of parameterised tests. Without a name generator GoogleTest calls a row
// by its index and ctest shows the row's bytes, which change with every build.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

// Letters, digits and '_' only: what GoogleTest accepts in a test name.
inline std::string TestNameOf(std::string text) {
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return text;
}

// Generator for rows that carry a `label` or a `name`.
struct RowName {
    template <typename Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
        if constexpr (requires { info.param.label; })
            return TestNameOf(info.param.label);
        else
            return TestNameOf(info.param.name);
    }
};
