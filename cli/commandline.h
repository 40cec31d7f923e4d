#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One option a command accepts, named without its leading dashes.
struct SOptionRule
{
    std::string_view name;
    bool takesValue = false;
    bool repeatable = false;
};

// The words that follow a command name, split into positional arguments and options.
// Options are written "--name value" or "--name=value"; a word with a single leading dash
// is a positional argument; "--" ends the options, so a positional argument may start with
// two dashes after it.
// Every accessor that finds the words wrong throws CUsageError with a text naming the
// offending word; nothing is guessed.
class CCommandLine
{
public:
    // Throws CUsageError for an option the command does not accept, an option without
    // its value, a value given to a flag, or a single option given twice.
    CCommandLine(std::span<const std::string> words, std::span<const SOptionRule> accepted);

    const std::vector<std::string>& Positionals() const { return m_positionals; }
    // Throws CUsageError unless the count of positional arguments lies in [least, most].
    void ExpectPositionals(std::size_t least, std::size_t most) const;

    bool Has(std::string_view name) const;
    // The value of a single option; empty when it was not given.
    std::optional<std::string> Value(std::string_view name) const;
    // Every value of a repeatable option, in command-line order.
    std::vector<std::string> Values(std::string_view name) const;
    // Every option given, with its value (empty for a flag), in command-line order across
    // all names: for commands whose options are steps applied one after another.
    const std::vector<std::pair<std::string, std::string>>& Ordered() const { return m_ordered; }
    // The option's value as a whole number in [least, most]; empty when not given.
    // Throws CUsageError for anything else (signs, fractions, spaces, overflow).
    std::optional<std::uint64_t> NumberValue(std::string_view name, std::uint64_t least,
                                             std::uint64_t most) const;

    // The option's value as a decimal number ("2", "0.75", ".5") in [least, most]; empty when
    // not given. Throws CUsageError for anything else (signs, exponents, commas, spaces).
    std::optional<double> DecimalValue(std::string_view name, double least, double most) const;

    // A decimal whole number in [least, most], or empty for anything else.
    static std::optional<std::uint64_t> ParseWholeNumber(std::string_view text, std::uint64_t least,
                                                         std::uint64_t most);

    // Digits with at most one decimal point, in [least, most], or empty for anything else.
    static std::optional<double> ParseDecimal(std::string_view text, double least, double most);

private:
    std::vector<std::string> m_positionals;
    std::map<std::string, std::vector<std::string>, std::less<>> m_options;
    std::vector<std::pair<std::string, std::string>> m_ordered;
};
