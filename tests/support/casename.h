#pragma once

// Names of parameterised cases, so that the test list reads as sentences instead of bytes.

#include <cctype>
#include <string>
#include <string_view>

namespace testsupport {

// Free text as a gtest name: letters and digits kept, every other run one underscore.
inline std::string CaseName(std::string_view text)
{
    std::string name;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "unnamed" : name;
}

// The name generator of a suite whose cases carry their own `name`.
struct SByName
{
    template <typename Info> std::string operator()(const Info& info) const
    {
        return CaseName(info.param.name);
    }
};

} // namespace testsupport
