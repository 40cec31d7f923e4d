#include "cli/commandline.h"

#include "cli/usageerror.h"

#include <QCommandLineParser>
#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

// A word with a single leading dash ("-draft", "-5") is a positional argument or a value
// here, never an option, but the parser would read it as one. It goes in behind a NUL,
// a character no command-line word can hold, which comes off every value and positional.
constexpr QChar kShield = QChar(0);

// Latin-1 maps every byte to one character and back, so paths in any encoding come back
// byte for byte; the parser only looks at dashes and '='.
QString ToParser(const std::string& word)
{
    const QString text = QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
    return word.starts_with('-') && !word.starts_with("--") ? kShield + text : text;
}

std::string FromParser(const QString& text)
{
    return (text.startsWith(kShield) ? text.mid(1) : text).toLatin1().toStdString();
}

const SOptionRule* FindRule(std::span<const SOptionRule> accepted, std::string_view name)
{
    const auto found = std::find_if(accepted.begin(), accepted.end(),
                                    [&](const SOptionRule& rule) { return rule.name == name; });
    return found == accepted.end() ? nullptr : &*found;
}

// The parser's refusal in our words. Unknown names and missing values come from its
// answers; a value given to a flag only shows in the words themselves.
[[noreturn]] void Refuse(const QCommandLineParser& parser, std::span<const std::string> words,
                         std::span<const SOptionRule> accepted)
{
    if (!parser.unknownOptionNames().isEmpty())
        throw CUsageError("unknown option --" + FromParser(parser.unknownOptionNames().front()));
    for (const QString& name : parser.optionNames()) {
        if (FindRule(accepted, name.toStdString())->takesValue &&
            parser.values(name).size() < parser.optionNames().count(name))
            throw CUsageError("--" + name.toStdString() + " needs a value");
    }
    for (const std::string& word : words) {
        if (word == "--")
            break;
        const std::size_t equals = word.find('=');
        const SOptionRule* rule = word.starts_with("--") && equals != std::string::npos
                                      ? FindRule(accepted, word.substr(2, equals - 2))
                                      : nullptr;
        if (rule && !rule->takesValue)
            throw CUsageError("--" + std::string(rule->name) + " takes no value");
    }
    throw CUsageError("the options cannot be read");
}

} // namespace

CCommandLine::CCommandLine(std::span<const std::string> words,
                           std::span<const SOptionRule> accepted)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const SOptionRule& rule : accepted) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(rule.name), {},
                                            rule.takesValue ? QStringLiteral("value") : QString()));
    }
    QStringList arguments{QString()}; // the parser skips the program's name
    for (const std::string& word : words)
        arguments.append(ToParser(word));
    if (!parser.parse(arguments))
        Refuse(parser, words, accepted);

    std::map<QString, qsizetype> seen;
    for (const QString& name : parser.optionNames()) {
        const SOptionRule* rule = FindRule(accepted, name.toStdString());
        const qsizetype index = seen[name]++;
        if (index > 0 && !rule->repeatable)
            throw CUsageError("--" + name.toStdString() + " is given more than once");
        std::string value = rule->takesValue ? FromParser(parser.values(name).at(index)) : "";
        m_ordered.emplace_back(rule->name, value);
        m_options[std::string(rule->name)].push_back(std::move(value));
    }
    for (const QString& positional : parser.positionalArguments())
        m_positionals.push_back(FromParser(positional));
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

std::optional<double> CCommandLine::DecimalValue(std::string_view name, double least,
                                                 double most) const
{
    const std::optional<std::string> text = Value(name);
    if (!text)
        return std::nullopt;
    const std::optional<double> number = ParseDecimal(*text, least, most);
    if (!number) {
        std::ostringstream range;
        range << least << " to " << most;
        throw CUsageError("--" + std::string(name) + " must be a number from " + range.str() +
                          ", not '" + *text + "'");
    }
    return number;
}

std::optional<double> CCommandLine::ParseDecimal(std::string_view text, double least, double most)
{
    // The same text means the same number in every locale: digits and one point only.
    const auto digits =
        std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto points = std::count(text.begin(), text.end(), '.');
    if (digits == 0 || points > 1 || static_cast<std::size_t>(digits + points) != text.size())
        return std::nullopt;
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number < least || number > most)
        return std::nullopt;
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
