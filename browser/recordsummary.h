#pragma once

#include <QDateTime>
#include <QFrame>
#include <QStringList>
#include <memory>
#include <vector>

class QTextLayout;

// The information of the selected record: when it was recorded, its task, contacts and
// tags. Labels and values are drawn in two fonts, so the eye finds the labels at once.
// Text wraps at word boundaries where it can and anywhere where it must, so no word, however
// long (a tag of 200 letters, a web address), asks for more width than the window has;
// what does not fit the height ends in an ellipsis. Its context menu copies the text.
class CRecordSummary : public QFrame
{
    Q_OBJECT
public:
    explicit CRecordSummary(QWidget* parent = nullptr);
    ~CRecordSummary() override;

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

    // At most this many lines of text are asked for (0: as many as the text needs); the
    // rest ends in an ellipsis, so a long summary leaves the record list its room.
    void SetMaximumLines(int lines);

    // The summary as plain lines ("Recorded: 04/01/2027 07:00:00", "Task: ...").
    QString PlainText() const { return m_plain; }

    static QString NothingText();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct SRow
    {
        QString label; // drawn bold in the program's green; empty for a message
        QString value;
    };

    void SetRows(QList<SRow> rows);
    // Each row laid out in lines of `width`; the caller draws or measures them.
    std::vector<std::unique_ptr<QTextLayout>> Layouts(int width, const QColor& labelInk) const;
    QFont LabelFont() const;
    QRect TextArea() const;

    QList<SRow> m_rows;
    QString m_plain;
    int m_maximumLines = 0;
};
