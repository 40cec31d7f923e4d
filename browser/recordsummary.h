#pragma once

#include <QDateTime>
#include <QLabel>
#include <QStringList>

// The information of the selected record: when it was recorded, its task, contacts and
// tags. Labels and values are drawn in two fonts, so the eye finds the labels at once.
class CRecordSummary : public QLabel
{
    Q_OBJECT
public:
    explicit CRecordSummary(QWidget* parent = nullptr);

    struct SContent
    {
        QDateTime recorded;
        QStringList tasks;
        QStringList contacts;
        QStringList tags; // group lines "[group]" included, as the record holds them
    };

    void ShowRecord(const SContent& content);
    // No record: "No Attach information".
    void ShowNothing();
    // Nothing at all (while a list refills).
    void ClearSummary();

    // The summary as plain lines ("Recorded: 04/01/2027 07:00:00", "Task: ...").
    QString PlainText() const { return m_plain; }

    static QString NothingText();

private:
    QString m_plain;
};
