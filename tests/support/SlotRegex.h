#pragma once
// The two shapes of a game's replay names as regular expressions (ECMAScript,
// case-insensitive, matched against the whole name): the oracle that
// MatchNumberedName and MatchUserName are compared with. Only tests use it;
// the plug-ins do without std::regex.
#include <regex>
#include <string>

#include "replay/SlotFromFileName.h"

namespace testing_support {

class SlotRegex {
public:
    explicit SlotRegex(const std::string& prefix)
        : m_numbered(prefix + "_([[:digit:]]{2}).rpy", kSyntax), m_user(prefix + "_ud(.{0,4}).rpy", kSyntax)
    {
    }

    // What regex_match says of the whole name, and where capture group 1 lies.
    bool Numbered(const std::string& name, SlotCapture& capture) const { return Match(m_numbered, name, capture); }
    bool User(const std::string& name, SlotCapture& capture) const { return Match(m_user, name, capture); }

private:
    static constexpr auto kSyntax = std::regex::ECMAScript | std::regex::icase;

    static bool Match(const std::regex& pattern, const std::string& name, SlotCapture& capture)
    {
        std::smatch match;
        if (!std::regex_match(name, match, pattern)) return false;
        capture = {size_t(match.position(1)), size_t(match.length(1))};
        return true;
    }

    std::regex m_numbered;
    std::regex m_user;
};

}  // namespace testing_support
