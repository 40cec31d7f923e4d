#pragma once

#include <QDate>
#include <QDialog>

class MBrowserPrompts;
class QDateEdit;

// Asks for the first and the last day of a custom period. Both start at `today`. OK
// refuses a first day after the last one with a message and stays open; the same day
// twice is a period of one day.
class CChoosePeriodDlg : public QDialog
{
    Q_OBJECT
public:
    CChoosePeriodDlg(const QDate& today, MBrowserPrompts& prompts, QWidget* parent = nullptr);

    // Starts the pickers at a range chosen before.
    void SetRange(const QDate& from, const QDate& to);
    QDate From() const { return m_from; }
    QDate To() const { return m_to; }

    QDateEdit* FromEdit() const { return m_fromEdit; }
    QDateEdit* ToEdit() const { return m_toEdit; }

    static QString OrderMessage();

    void accept() override;

private:
    MBrowserPrompts& m_prompts;
    QDateEdit* m_fromEdit;
    QDateEdit* m_toEdit;
    QDate m_from;
    QDate m_to;
};
