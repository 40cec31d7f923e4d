#pragma once

#include "browser/browserpage.h"
#include "store/period.h"

#include <optional>

class QComboBox;
class QListWidget;
class QListWidgetItem;

// The page "Tasks": the tasks of a period, from the contacts-and-tasks store and from the
// records themselves, and the records of the chosen task. A second tap on the chosen task
// lets it go again; with no task chosen the records of every listed task are listed.
class CPropertyTasks : public CBrowserPage
{
    Q_OBJECT
public:
    explicit CPropertyTasks(SPageServices& services, QWidget* parent = nullptr);

    QComboBox* PeriodList() const { return m_period; }
    QListWidget* TaskList() const { return m_tasks; }
    // The chosen task; empty when none.
    QString ChosenTask() const { return m_chosen; }
    // Chooses a task, or lets the chosen one go, as a tap on it does.
    void TapTask(const QString& task);

    static QString NoTasksText();

protected:
    SRecordQuery Query() const override;
    bool RefreshSelectors() override;

private:
    void OnPeriodChosen(int index);
    void OnTaskClicked(QListWidgetItem* item);
    void FillTasks();
    Period::EPeriod CurrentPeriod() const;
    void ShowPeriod(Period::EPeriod period);

    QComboBox* m_period;
    QListWidget* m_tasks;
    QString m_chosen;
    // The tasks the period lists.
    QStringList m_listed;
    Period::EPeriod m_lastPeriod = Period::EPeriod::All;
    std::optional<Period::SDayRange> m_customRange;
};
