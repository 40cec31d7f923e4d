#pragma once

#include <QString>
#include <optional>

// A task-store restriction of the form  [Subject] <operator> "text"  and its answer over
// one task subject. Operators: = <> < <= > >=. Comparison is string comparison without
// regard to case (as a contact/task store compares text), over the subject as stored.
// The text runs from the first quote after the operator to the last quote of the
// restriction, so a subject that itself holds quotes is taken whole. Spaces around the
// parts are allowed; anything else (another property, a missing quote, trailing text)
// does not parse.
class CRestriction
{
public:
    enum class EOperator
    {
        Equal,
        NotEqual,
        Less,
        LessOrEqual,
        Greater,
        GreaterOrEqual
    };

    static std::optional<CRestriction> Parse(const QString& text);

    bool Matches(const QString& subject) const;
    EOperator Operator() const { return m_operator; }
    const QString& Operand() const { return m_operand; }

private:
    CRestriction(EOperator op, QString operand) : m_operator(op), m_operand(std::move(operand)) {}

    EOperator m_operator;
    QString m_operand;
};
