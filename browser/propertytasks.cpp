#include "browser/propertytasks.h"

#include "browser/chooseperioddlg.h"
#include "controls/theme.h"
#include "controls/wholerowsview.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

CPropertyTasks::CPropertyTasks(SPageServices& services, QWidget* parent)
    : CBrowserPage(services, parent), m_period(new QComboBox(this)),
      m_tasks(new CWholeRowsView<QListWidget>(this))
{
    m_period->setObjectName(QStringLiteral("taskPeriod"));
    for (Period::EPeriod period : Period::TaskPeriods())
        m_period->addItem(Period::Label(period), static_cast<int>(period));
    m_tasks->setObjectName(QStringLiteral("tasks"));
    m_tasks->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tasks->setStyleSheet(RecordListWidget()->styleSheet());
    m_tasks->setMaximumHeight(120);
    SelectorArea()->addWidget(m_period);
    SelectorArea()->addWidget(m_tasks);
    connect(m_period, &QComboBox::activated, this, &CPropertyTasks::OnPeriodChosen);
    connect(m_tasks, &QListWidget::itemClicked, this, &CPropertyTasks::OnTaskClicked);
    connect(m_tasks, &QListWidget::itemActivated, this, &CPropertyTasks::OnTaskClicked);
}

QString CPropertyTasks::NoTasksText()
{
    return tr("No Tasks");
}

Period::EPeriod CPropertyTasks::CurrentPeriod() const
{
    return static_cast<Period::EPeriod>(m_period->currentData().toInt());
}

void CPropertyTasks::ShowPeriod(Period::EPeriod period)
{
    const QSignalBlocker block(m_period);
    m_period->setCurrentIndex(m_period->findData(static_cast<int>(period)));
}

void CPropertyTasks::OnPeriodChosen(int)
{
    StopPlayback();
    const Period::EPeriod period = CurrentPeriod();
    if (period == Period::EPeriod::Custom) {
        CChoosePeriodDlg dialog(Services().now().date(), Services().prompts, this);
        if (m_customRange)
            dialog.SetRange(m_customRange->first, m_customRange->last);
        if (dialog.exec() != QDialog::Accepted) {
            ShowPeriod(m_lastPeriod);
            return;
        }
        m_customRange = Period::SDayRange{dialog.From(), dialog.To()};
    }
    m_lastPeriod = period;
    FillTasks();
    FillRecords(SelectedName());
}

void CPropertyTasks::FillTasks()
{
    const QStringList tasks = Records().Tasks(Services().pim.Tasks(), CurrentPeriod(),
                                              Services().now().date(), m_customRange);
    m_listed = tasks;
    const QSignalBlocker block(m_tasks);
    m_tasks->clear();
    if (tasks.isEmpty()) {
        // A placeholder, not a task: it cannot be chosen.
        auto* item = new QListWidgetItem(NoTasksText(), m_tasks);
        item->setFlags(Qt::ItemIsEnabled);
        item->setForeground(Theme::DisabledText());
        m_chosen.clear();
        return;
    }
    bool found = false;
    for (const QString& task : tasks) {
        auto* item = new QListWidgetItem(task, m_tasks);
        if (!found && !m_chosen.isEmpty() && task.compare(m_chosen, Qt::CaseInsensitive) == 0) {
            item->setSelected(true);
            m_tasks->setCurrentItem(item);
            m_chosen = task;
            found = true;
        }
    }
    if (!found)
        m_chosen.clear();
}

void CPropertyTasks::OnTaskClicked(QListWidgetItem* item)
{
    if (!item || !(item->flags() & Qt::ItemIsSelectable)) {
        const QSignalBlocker block(m_tasks);
        m_tasks->clearSelection();
        return;
    }
    TapTask(item->text());
}

void CPropertyTasks::TapTask(const QString& task)
{
    StopPlayback();
    m_chosen = task == m_chosen ? QString() : task;
    {
        const QSignalBlocker block(m_tasks);
        m_tasks->clearSelection();
        for (int i = 0; i < m_tasks->count(); ++i) {
            if (!m_chosen.isEmpty() && m_tasks->item(i)->text() == m_chosen)
                m_tasks->item(i)->setSelected(true);
        }
    }
    FillRecords(SelectedName());
}

bool CPropertyTasks::RefreshSelectors()
{
    FillTasks();
    return true;
}

SRecordQuery CPropertyTasks::Query() const
{
    SRecordQuery query;
    query.set = ERecordSet::WithTask;
    query.task = m_chosen;
    // With no task chosen, the records of every task the period lists, and only those.
    if (m_chosen.isEmpty())
        query.tasksAmong = m_listed;
    return query;
}
