#pragma once

#include "browser/browserpage.h"
#include "store/period.h"

#include <optional>

class QComboBox;

// The page "All": every record, narrowed by a period: "All", "Today", "Yesterday",
// "Current week", "Current month" or a custom range of days.
class CPropertyAll : public CBrowserPage
{
    Q_OBJECT
public:
    explicit CPropertyAll(SPageServices& services, QWidget* parent = nullptr);

    QComboBox* PeriodList() const { return m_period; }
    Period::EPeriod CurrentPeriod() const;
    // The custom range last confirmed, when there is one.
    std::optional<Period::SDayRange> CustomRange() const { return m_customRange; }
    QString NoRecordsText() const override;

protected:
    SRecordQuery Query() const override;
    bool RefreshSelectors() override;

private:
    void OnPeriodChosen(int index);
    // Asks for a custom range; false on Cancel.
    bool AskCustomRange();
    void ShowPeriod(Period::EPeriod period);

    QComboBox* m_period;
    Period::EPeriod m_lastFixed = Period::EPeriod::All;
    // The period the list shows; a cancelled choice goes back to it.
    Period::EPeriod m_shown = Period::EPeriod::All;
    std::optional<Period::SDayRange> m_customRange;
};
