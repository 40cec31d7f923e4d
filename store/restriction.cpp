#include "store/restriction.h"

#include <array>
#include <utility>

namespace {

struct SOperatorText
{
    QStringView text;
    CRestriction::EOperator op;
};

// Two-character operators first, so that "<=" is not read as "<".
constexpr std::array<SOperatorText, 6> kOperators{{
    {u"<>", CRestriction::EOperator::NotEqual},
    {u"<=", CRestriction::EOperator::LessOrEqual},
    {u">=", CRestriction::EOperator::GreaterOrEqual},
    {u"=", CRestriction::EOperator::Equal},
    {u"<", CRestriction::EOperator::Less},
    {u">", CRestriction::EOperator::Greater},
}};

} // namespace

std::optional<CRestriction> CRestriction::Parse(const QString& text)
{
    QStringView rest = QStringView(text).trimmed();
    static constexpr QStringView kProperty = u"[Subject]";
    if (!rest.startsWith(kProperty, Qt::CaseInsensitive))
        return std::nullopt;
    rest = rest.mid(kProperty.size()).trimmed();

    for (const SOperatorText& candidate : kOperators) {
        if (!rest.startsWith(candidate.text))
            continue;
        const QStringView quoted = rest.mid(candidate.text.size()).trimmed();
        if (quoted.size() < 2 || !quoted.startsWith(u'"') || !quoted.endsWith(u'"'))
            return std::nullopt;
        return CRestriction(candidate.op, quoted.mid(1, quoted.size() - 2).toString());
    }
    return std::nullopt;
}

bool CRestriction::Matches(const QString& subject) const
{
    const int order = QString::compare(subject, m_operand, Qt::CaseInsensitive);
    switch (m_operator) {
    case EOperator::Equal:
        return order == 0;
    case EOperator::NotEqual:
        return order != 0;
    case EOperator::Less:
        return order < 0;
    case EOperator::LessOrEqual:
        return order <= 0;
    case EOperator::Greater:
        return order > 0;
    case EOperator::GreaterOrEqual:
        return order >= 0;
    }
    return false;
}
