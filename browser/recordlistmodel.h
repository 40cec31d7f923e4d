#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

class CRecordBrowser;
struct SBrowsedRecord;

// The rows of a page's record list over the records the page lets through: one row per
// record (RecordRow says what it shows), or a single placeholder row when none is listed.
// Rows are worked out when they are drawn, so a refill of thousands costs one reset. Records
// dragged out of the list are handed over as their files (RecordMimeData::ForFiles).
class CRecordListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum ERole
    {
        // The record's file name, as the records are known by it.
        FileNameRole = Qt::UserRole + 1,
        RecordedRole,
        LengthRole,
        DetailsRole,
        // True on the placeholder row.
        PlaceholderRole,
    };

    explicit CRecordListModel(QObject* parent = nullptr);

    // Lists `shown` (indexes into `records`, which must outlive the model or the next call),
    // or `placeholder` alone when it is empty.
    void SetRecords(const CRecordBrowser& records, std::vector<int> shown,
                    const QString& placeholder);
    // The record of `row`; nullptr for the placeholder or a row out of range.
    const SBrowsedRecord* RecordAt(int row) const;
    // The row of the record at `index` of the records; -1 when it is not listed.
    int RowOfRecord(int index) const;
    const std::vector<int>& Shown() const { return m_shown; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

private:
    const CRecordBrowser* m_records = nullptr;
    std::vector<int> m_shown;
    QString m_placeholder;
};
