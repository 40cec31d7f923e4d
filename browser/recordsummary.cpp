#include "browser/recordsummary.h"

#include "controls/theme.h"

namespace {

struct SRow
{
    QString label;
    QString value;
};

QList<SRow> Rows(const CRecordSummary::SContent& content)
{
    const QString separator = QStringLiteral(", ");
    return {
        {CRecordSummary::tr("Recorded: "),
         content.recorded.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))},
        {CRecordSummary::tr("Task: "), content.tasks.join(separator)},
        {CRecordSummary::tr("Contacts: "), content.contacts.join(separator)},
        {CRecordSummary::tr("Tags: "), content.tags.join(separator)},
    };
}

} // namespace

CRecordSummary::CRecordSummary(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("summary"));
    setTextFormat(Qt::RichText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(6);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setStyleSheet(
        QStringLiteral("CRecordSummary { background: %1; color: %2; border: 1px solid "
                       "%3; border-radius: 4px; }")
            .arg(Theme::ListBase().name(), Theme::ListText().name(), Theme::Border().name()));
}

QString CRecordSummary::NothingText()
{
    return tr("No Attach information");
}

void CRecordSummary::ShowRecord(const SContent& content)
{
    QString html;
    QStringList plain;
    for (const SRow& row : Rows(content)) {
        html += QStringLiteral("<div><span style=\"font-weight:600; color:%1\">%2</span>"
                               "<span>%3</span></div>")
                    .arg(Theme::AccentDark().name(), row.label.toHtmlEscaped(),
                         row.value.toHtmlEscaped());
        plain << row.label + row.value;
    }
    m_plain = plain.join(QLatin1Char('\n'));
    setText(html);
}

void CRecordSummary::ShowNothing()
{
    m_plain = NothingText();
    setText(m_plain.toHtmlEscaped());
}

void CRecordSummary::ClearSummary()
{
    m_plain.clear();
    clear();
}
