#include "browser/recordlistmodel.h"

#include "browser/recordmimedata.h"
#include "browser/recordrow.h"
#include "store/recordbrowser.h"

#include <QFile>
#include <algorithm>

CRecordListModel::CRecordListModel(QObject* parent) : QAbstractListModel(parent) {}

void CRecordListModel::SetRecords(const CRecordBrowser& records, std::vector<int> shown,
                                  const QString& placeholder)
{
    beginResetModel();
    m_records = &records;
    m_shown = std::move(shown);
    m_placeholder = placeholder;
    endResetModel();
}

const SBrowsedRecord* CRecordListModel::RecordAt(int row) const
{
    if (!m_records || row < 0 || static_cast<std::size_t>(row) >= m_shown.size())
        return nullptr;
    // Between a change of the records and the page's refill the numbers may run past them.
    const int index = m_shown[static_cast<std::size_t>(row)];
    return index < m_records->Count() ? &m_records->Record(index) : nullptr;
}

int CRecordListModel::RowOfRecord(int index) const
{
    const auto found = std::find(m_shown.begin(), m_shown.end(), index);
    return found == m_shown.end() ? -1 : static_cast<int>(found - m_shown.begin());
}

int CRecordListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_shown.empty() ? (m_placeholder.isEmpty() ? 0 : 1) : static_cast<int>(m_shown.size());
}

QVariant CRecordListModel::data(const QModelIndex& index, int role) const
{
    const SBrowsedRecord* record = RecordAt(index.row());
    if (!record) {
        const bool placeholder = index.row() == 0 && m_shown.empty() && !m_placeholder.isEmpty();
        if (!placeholder)
            return {};
        if (role == Qt::DisplayRole || role == FileNameRole)
            return m_placeholder;
        return role == PlaceholderRole ? QVariant(true) : QVariant();
    }
    switch (role) {
    case FileNameRole:
    case Qt::ToolTipRole:
        return record->fileName;
    case PlaceholderRole:
        return false;
    default:
        break;
    }
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole && role != RecordedRole &&
        role != LengthRole && role != DetailsRole)
        return {};
    const SRecordRow row = RecordRow::Of(*record);
    switch (role) {
    case RecordedRole:
        return row.recorded;
    case LengthRole:
        return row.length;
    case DetailsRole:
        return row.details;
    case Qt::AccessibleTextRole:
        return QStringList{row.name, row.recorded, row.length, row.details}.join(
            QStringLiteral(", "));
    default:
        return row.name;
    }
}

Qt::ItemFlags CRecordListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractListModel::flags(index);
    if (RecordAt(index.row()))
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList CRecordListModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* CRecordListModel::mimeData(const QModelIndexList& indexes) const
{
    QStringList paths;
    for (const QModelIndex& index : indexes) {
        if (const SBrowsedRecord* record = RecordAt(index.row()))
            paths << QFile::decodeName(record->path.c_str());
    }
    if (paths.isEmpty())
        return nullptr;
    // The view hands the object to the drag, which owns it from then on.
    return RecordMimeData::ForFiles(paths).release();
}

Qt::DropActions CRecordListModel::supportedDragActions() const
{
    return Qt::CopyAction;
}
