#include "cli/commandline.h"

#include "cli/usageerror.h"

#include <algorithm>
#include <charconv>

namespace {

const SOptionRule* FindRule(std::span<const SOptionRule> accepted, std::string_view name)
{
    const auto found = std::find_if(accepted.begin(), accepted.end(),
                                    [&](const SOptionRule& rule) { return rule.name == name; });
    return found == accepted.end() ? nullptr : &*found;
}

} // namespace

CCommandLine::CCommandLine(std::span<const std::string> words,
                           std::span<const SOptionRule> accepted)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 3 || word.compare(0, 2, "--") != 0) {
            if (word == "--") {
                optionsEnded = true;
                continue;
            }
            m_positionals.push_back(word);
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name =
            word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const SOptionRule* rule = FindRule(accepted, name);
        if (!rule)
            throw CUsageError("unknown option --" + name);
        std::string value;
        if (rule->takesValue) {
            if (equals != std::string::npos) {
                value = word.substr(equals + 1);
            } else if (i + 1 < words.size()) {
                value = words[++i];
            } else {
                throw CUsageError("--" + name + " needs a value");
            }
        } else if (equals != std::string::npos) {
            throw CUsageError("--" + name + " takes no value");
        }
        auto& values = m_options[name];
        if (!values.empty() && !rule->repeatable)
            throw CUsageError("--" + name + " is given more than once");
        m_ordered.emplace_back(name, value);
        values.push_back(std::move(value));
    }
}

void CCommandLine::ExpectPositionals(std::size_t least, std::size_t most) const
{
    if (m_positionals.size() < least)
        throw CUsageError("missing argument");
    if (m_positionals.size() > most)
        throw CUsageError("unexpected argument '" + m_positionals[most] + "'");
}

bool CCommandLine::Has(std::string_view name) const
{
    return m_options.contains(name);
}

std::optional<std::string> CCommandLine::Value(std::string_view name) const
{
    const auto found = m_options.find(name);
    if (found == m_options.end())
        return std::nullopt;
    return found->second.front();
}

std::vector<std::string> CCommandLine::Values(std::string_view name) const
{
    const auto found = m_options.find(name);
    return found == m_options.end() ? std::vector<std::string>{} : found->second;
}

std::optional<std::uint64_t> CCommandLine::NumberValue(std::string_view name, std::uint64_t least,
                                                       std::uint64_t most) const
{
    const std::optional<std::string> text = Value(name);
    if (!text)
        return std::nullopt;
    const std::optional<std::uint64_t> number = ParseWholeNumber(*text, least, most);
    if (!number) {
        throw CUsageError("--" + std::string(name) + " must be a whole number from " +
                          std::to_string(least) + " to " + std::to_string(most) + ", not '" +
                          *text + "'");
    }
    return number;
}

std::optional<std::uint64_t> CCommandLine::ParseWholeNumber(std::string_view text,
                                                            std::uint64_t least, std::uint64_t most)
{
    // from_chars alone would accept "12abc" up to the letters and skip nothing else;
    // the whole text has to be digits.
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    if (number < least || number > most)
        return std::nullopt;
    return number;
}
