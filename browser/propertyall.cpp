#include "browser/propertyall.h"

#include "browser/chooseperioddlg.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

CPropertyAll::CPropertyAll(SPageServices& services, QWidget* parent)
    : CBrowserPage(services, parent), m_period(new QComboBox(this))
{
    m_period->setObjectName(QStringLiteral("period"));
    for (Period::EPeriod period : Period::RecordPeriods())
        m_period->addItem(Period::Label(period), static_cast<int>(period));
    SelectorArea()->addWidget(m_period);
    // Activated, not changed: choosing "Custom" again asks for a new range.
    connect(m_period, &QComboBox::activated, this, &CPropertyAll::OnPeriodChosen);
}

QString CPropertyAll::NoRecordsText() const
{
    return tr("No records");
}

Period::EPeriod CPropertyAll::CurrentPeriod() const
{
    return static_cast<Period::EPeriod>(m_period->currentData().toInt());
}

void CPropertyAll::ShowPeriod(Period::EPeriod period)
{
    const QSignalBlocker block(m_period);
    m_period->setCurrentIndex(m_period->findData(static_cast<int>(period)));
}

void CPropertyAll::OnPeriodChosen(int)
{
    StopPlayback();
    const Period::EPeriod period = CurrentPeriod();
    if (period == Period::EPeriod::Custom) {
        if (!AskCustomRange()) {
            // The list keeps what it showed, and the drop-down says so again.
            ShowPeriod(m_shown);
            return;
        }
    } else {
        m_lastFixed = period;
    }
    m_shown = period;
    FillRecords(SelectedName());
}

bool CPropertyAll::AskCustomRange()
{
    CChoosePeriodDlg dialog(Services().now().date(), Services().prompts, this);
    if (m_customRange)
        dialog.SetRange(m_customRange->first, m_customRange->last);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_customRange = Period::SDayRange{dialog.From(), dialog.To()};
    return true;
}

bool CPropertyAll::RefreshSelectors()
{
    // A custom period without a range would show an empty page for no reason: ask, and
    // on Cancel go back to the last fixed period.
    if (CurrentPeriod() == Period::EPeriod::Custom && !m_customRange && !AskCustomRange())
        ShowPeriod(m_lastFixed);
    m_shown = CurrentPeriod();
    return true;
}

SRecordQuery CPropertyAll::Query() const
{
    SRecordQuery query;
    query.period = CurrentPeriod();
    query.today = Services().now().date();
    query.custom = m_customRange;
    return query;
}
