#include "browser/editrecordinfodlg.h"

#include "audio/audioerror.h"
#include "audio/audiomanager.h"
#include "audio/tagger.h"
#include "browser/browserprompts.h"
#include "controls/drawnicons.h"
#include "controls/theme.h"
#include "store/nativepath.h"
#include "store/pimstore.h"
#include "store/recorddate.h"
#include "store/recordinfo.h"
#include "store/recordinfoedit.h"
#include "store/recordinfofile.h"
#include "store/tagcatalogue.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using RecordInfoEdit::EResult;

const QString kTasks = QString::fromLatin1(CEditRecordInfoDlg::kCategoryTasks);
const QString kContacts = QString::fromLatin1(CEditRecordInfoDlg::kCategoryContacts);

QLineEdit* ReadOnlyField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFrame(false);
    return field;
}

bool ContainsIgnoringCase(const QStringList& list, const QString& text)
{
    return list.contains(text, Qt::CaseInsensitive);
}

} // namespace

CEditRecordInfoDlg::CEditRecordInfoDlg(SContext context, std::vector<std::filesystem::path> paths,
                                       int current, QWidget* parent)
    : QDialog(parent), m_context(context), m_paths(std::move(paths)),
      m_current(qBound(0, current, std::max(0, static_cast<int>(m_paths.size()) - 1))),
      m_fileName(ReadOnlyField(QStringLiteral("fileName"), this)),
      m_minutes(ReadOnlyField(QStringLiteral("minutes"), this)),
      m_seconds(ReadOnlyField(QStringLiteral("seconds"), this)),
      m_date(ReadOnlyField(QStringLiteral("date"), this)), m_categories(new QListWidget(this)),
      m_values(new QListWidget(this)), m_prev(new QPushButton(tr("Prev"), this)),
      m_next(new QPushButton(tr("Next"), this))
{
    setWindowTitle(tr("Edit record info"));
    setWindowIcon(DrawnIcons::AppIcon());
    // The browser's green selection, so the editors read as part of it.
    QPalette colours = palette();
    colours.setColor(QPalette::Highlight, Theme::Accent());
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    m_categories->setObjectName(QStringLiteral("categories"));
    m_values->setObjectName(QStringLiteral("values"));
    m_values->setSelectionMode(QAbstractItemView::MultiSelection);
    m_prev->setObjectName(QStringLiteral("prev"));
    m_next->setObjectName(QStringLiteral("next"));
    m_date->setText(QString::fromLatin1(kBadFile));
    BuildLayout();

    connect(m_categories, &QListWidget::currentRowChanged, this, [this] { FillValues(); });
    connect(m_values, &QListWidget::itemSelectionChanged, this,
            &CEditRecordInfoDlg::OnValuesChanged);
    connect(m_prev, &QPushButton::clicked, this, &CEditRecordInfoDlg::OnPrev);
    connect(m_next, &QPushButton::clicked, this, &CEditRecordInfoDlg::OnNext);
    Load();
}

void CEditRecordInfoDlg::BuildLayout()
{
    auto* fields = new QFormLayout;
    fields->addRow(tr("File:"), m_fileName);
    auto* duration = new QHBoxLayout;
    duration->addWidget(m_minutes);
    duration->addWidget(new QLabel(tr("min"), this));
    duration->addWidget(m_seconds);
    duration->addWidget(new QLabel(tr("sec"), this));
    duration->addStretch();
    m_minutes->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    m_seconds->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    fields->addRow(tr("Length:"), duration);
    fields->addRow(tr("Recorded:"), m_date);

    auto* categoryBox = new QGroupBox(tr("Category"), this);
    (new QVBoxLayout(categoryBox))->addWidget(m_categories);
    auto* valueBox = new QGroupBox(tr("Values"), this);
    (new QVBoxLayout(valueBox))->addWidget(m_values);
    m_lists = new QBoxLayout(QBoxLayout::TopToBottom);
    m_lists->addWidget(categoryBox, 2);
    m_lists->addWidget(valueBox, 3);

    auto* steps = new QHBoxLayout;
    steps->addWidget(m_prev);
    steps->addWidget(m_next);
    steps->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    steps->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEditRecordInfoDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QPushButton* button : {m_prev, m_next})
        button->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(m_lists, 1);
    layout->addLayout(steps);
}

void CEditRecordInfoDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const bool wide = event->size().width() >= kWideFrom;
    m_lists->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    // Side by side the values, often long names, take two thirds of the width.
    m_lists->setStretch(0, wide ? 1 : 2);
    m_lists->setStretch(1, wide ? 2 : 3);
}

std::filesystem::path CEditRecordInfoDlg::CurrentPath() const
{
    return m_current < static_cast<int>(m_paths.size())
               ? m_paths[static_cast<std::size_t>(m_current)]
               : std::filesystem::path();
}

QString CEditRecordInfoDlg::FileNameText() const
{
    return m_fileName->text();
}

QString CEditRecordInfoDlg::DateText() const
{
    return m_date->text();
}

QString CEditRecordInfoDlg::DurationText() const
{
    return m_minutes->text() + u':' + m_seconds->text();
}

void CEditRecordInfoDlg::Load()
{
    const bool several = m_paths.size() > 1;
    m_prev->setEnabled(several);
    m_next->setEnabled(several);
    m_dirty = false;
    m_changes.clear();
    m_block.clear();
    const std::filesystem::path path = CurrentPath();
    m_fileName->setText(NativePath::DisplayName(path));
    std::uint32_t seconds = 0;
    try {
        const std::string area = m_context.audio.GetTagger().ReadRecordInfo(path);
        if (RecordInfo::HasMarker(area))
            m_block = RecordInfo::DecodeRecordInfo(area);
        seconds = m_context.audio.GetRecordLength(path);
    } catch (const CAudioError&) {
        // A file that cannot be read is shown as a bad file below.
        m_block.clear();
    }
    m_minutes->setText(QString::number(seconds / 60));
    m_seconds->setText(QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0')));
    // The date the browser files the record under, in local time.
    const QDateTime recorded = RecordDate::OfRecord(path);
    if (m_block.isEmpty() || !recorded.isValid()) {
        m_date->setText(QString::fromLatin1(kBadFile));
        m_block.clear();
        m_categories->clear();
        m_values->clear();
        return;
    }
    m_date->setText(recorded.toLocalTime().toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")));
    FillCategories();
}

void CEditRecordInfoDlg::FillCategories()
{
    QStringList categories{kTasks, kContacts};
    for (const QString& group : m_context.catalogue.ListGroups()) {
        if (!group.isEmpty() && !ContainsIgnoringCase(categories, group))
            categories.append(group);
    }
    // Groups the record carries but the catalogue no longer has are still editable.
    QStringList recordGroups;
    RecordInfo::ListRecordGroups(recordGroups, m_block);
    for (const QString& group : recordGroups) {
        if (!group.isEmpty() && !ContainsIgnoringCase(categories, group))
            categories.append(group);
    }
    std::sort(categories.begin(), categories.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a.toCaseFolded(), b.toCaseFolded()) < 0;
    });
    {
        const QSignalBlocker block(m_categories);
        m_categories->clear();
        m_categories->addItems(categories);
    }
    UpdateMarks();
    int first = 0;
    for (int row = 0; row < m_categories->count(); ++row) {
        if (Mark(m_categories->item(row)->text()) > 0) {
            first = row;
            break;
        }
    }
    m_categories->setCurrentRow(first);
    FillValues();
}

QStringList CEditRecordInfoDlg::Offered(const QString& category) const
{
    QStringList values;
    const CPimStore store(m_context.pim);
    if (category == kContacts) {
        values = store.FillContacts();
        RecordInfo::ListRecordContacts(values, m_block);
    } else if (category == kTasks) {
        values = store.FillTasks();
        RecordInfo::ListRecordTask(values, m_block, [&store](const QString& subject) {
            return store.TaskExistsInStore(subject);
        });
    } else {
        values = m_context.catalogue.UniqueTagsOfGroup(category);
        RecordInfo::ListRecordTagsOfGroup(values, category, m_block);
    }
    values.removeAll(QString());
    return values;
}

bool CEditRecordInfoDlg::Holds(const QString& category, const QString& value) const
{
    if (category == kContacts)
        return RecordInfo::RecordHasContact(value, m_block);
    if (category == kTasks)
        return RecordInfo::RecordHasTask(value, m_block);
    return RecordInfo::RecordHasTag(category, value, m_block);
}

int CEditRecordInfoDlg::Mark(const QString& category) const
{
    if (m_block.isEmpty())
        return 0;
    if (category == kTasks)
        return RecordInfo::SectionLines(m_block, RecordInfo::kTasksHeader).isEmpty() ? 0 : 1;
    if (category == kContacts)
        return static_cast<int>(
            RecordInfo::SectionLines(m_block, RecordInfo::kContactsHeader).size());
    QStringList tags;
    RecordInfo::ListRecordTagsOfGroup(tags, category, m_block);
    return static_cast<int>(tags.size());
}

void CEditRecordInfoDlg::UpdateMarks()
{
    for (int row = 0; row < m_categories->count(); ++row) {
        QListWidgetItem* item = m_categories->item(row);
        QFont font = item->font();
        font.setBold(Mark(item->text()) > 0);
        item->setFont(font);
    }
}

QString CEditRecordInfoDlg::CurrentCategory() const
{
    const QListWidgetItem* item = m_categories->currentItem();
    return item ? item->text() : QString();
}

void CEditRecordInfoDlg::SelectCategory(const QString& category)
{
    const QList<QListWidgetItem*> items = m_categories->findItems(category, Qt::MatchExactly);
    if (!items.isEmpty())
        m_categories->setCurrentItem(items.first());
}

void CEditRecordInfoDlg::FillValues()
{
    const QSignalBlocker block(m_values);
    m_values->clear();
    if (m_block.isEmpty())
        return;
    m_values->addItems(Offered(CurrentCategory()));
    SyncSelection();
}

void CEditRecordInfoDlg::SyncSelection()
{
    // What the list shows selected is always what the working copy holds; for tasks only
    // the first held one, the record's task.
    const QSignalBlocker block(m_values);
    const QString category = CurrentCategory();
    m_shownSelection.clear();
    for (int row = 0; row < m_values->count(); ++row) {
        QListWidgetItem* item = m_values->item(row);
        const bool held =
            (category != kTasks || m_shownSelection.isEmpty()) && Holds(category, item->text());
        item->setSelected(held);
        if (held)
            m_shownSelection.append(item->text());
    }
    UpdateMarks();
}

void CEditRecordInfoDlg::OnValuesChanged()
{
    QStringList selected;
    for (const QListWidgetItem* item : m_values->selectedItems())
        selected.append(item->text());
    // The tapped value is the one whose selection differs from what was shown.
    QString tapped;
    for (const QString& value : selected) {
        if (!m_shownSelection.contains(value))
            tapped = value;
    }
    for (const QString& value : m_shownSelection) {
        if (!selected.contains(value))
            tapped = value;
    }
    if (!tapped.isEmpty())
        Toggle(tapped);
    SyncSelection();
}

void CEditRecordInfoDlg::Toggle(const QString& value)
{
    const QString category = CurrentCategory();
    if (category == kTasks) {
        const QString current = m_shownSelection.value(0);
        Change([current, value](QString& block) {
            // Only the chosen task's own line goes; a contact that merely contains its text
            // stays. A task that has gone meanwhile needs no removing.
            if (!current.isEmpty())
                RecordInfoEdit::RemoveTask(current, block);
            return value != current ? RecordInfoEdit::AddTask(value, block) : EResult::Done;
        });
    } else if (category == kContacts) {
        Change(Holds(category, value) ? std::bind_front(RecordInfoEdit::RemoveContact, value)
                                      : std::bind_front(RecordInfoEdit::AddContact, value));
    } else {
        Change(Holds(category, value) ? std::bind_front(RecordInfoEdit::RemoveTag, category, value)
                                      : std::bind_front(RecordInfoEdit::AddTag, category, value));
    }
}

void CEditRecordInfoDlg::Change(const std::function<EResult(QString&)>& change)
{
    QString changed = m_block;
    const EResult result = change(changed);
    if (result != EResult::Done) {
        m_context.prompts.Tell(EPromptIcon::Exclamation, QString(), RecordInfoEdit::Message(result),
                               this);
        return;
    }
    m_block = changed;
    m_changes.push_back(change);
    m_dirty = true;
}

bool CEditRecordInfoDlg::Save()
{
    if (m_block.isEmpty() || !m_dirty)
        return true;
    m_dirty = false;
    // Return saves: the question guards the user's edits, not a deletion.
    if (!m_context.prompts.Ask(QString(), QString::fromLatin1(kSaveQuestion), this,
                               EDefaultAnswer::Yes)) {
        m_changes.clear();
        return true;
    }
    QString failure;
    QString saved;
    const RecordInfoFile::SResult result = RecordInfoFile::Update(
        m_context.audio, CurrentPath(), [&](const std::string& area) -> std::optional<QByteArray> {
            if (!RecordInfo::HasMarker(area)) {
                failure = tr("The file no longer holds a record's information.");
                return std::nullopt;
            }
            // The taps again, on what the record holds now: a change another program made
            // since the record was read stays. What is no longer there to remove is gone
            // already.
            QString block = RecordInfo::DecodeRecordInfo(area);
            for (const auto& change : m_changes) {
                const EResult made = change(block);
                if (made != EResult::Done && made != EResult::NotHeld) {
                    failure = RecordInfoEdit::Message(made);
                    return std::nullopt;
                }
            }
            saved = RecordInfoEdit::TidyTags(block);
            const std::optional<QByteArray> encoded = RecordInfo::EncodeRecordInfo(saved);
            if (!encoded)
                failure = QCoreApplication::translate("RecordInfo", RecordInfo::kMsgDoesNotFit);
            return encoded;
        });
    if (result.status == RecordInfoFile::EStatus::Written) {
        m_block = saved;
        m_changes.clear();
        m_saved.push_back(CurrentPath());
        return true;
    }
    if (failure.isEmpty())
        failure = result.message;
    // Nothing was kept: the changes stay here, to be saved again or dropped by Cancel.
    m_dirty = true;
    m_context.prompts.Tell(EPromptIcon::Stop, QString(),
                           tr("The record's information was not saved.\n%1").arg(failure), this);
    return false;
}

void CEditRecordInfoDlg::Move(int step)
{
    if (m_paths.size() < 2 || !Save())
        return;
    const int count = static_cast<int>(m_paths.size());
    m_current = (m_current + step + count) % count;
    Load();
}

void CEditRecordInfoDlg::OnPrev()
{
    Move(-1);
}

void CEditRecordInfoDlg::OnNext()
{
    Move(1);
}

void CEditRecordInfoDlg::accept()
{
    if (Save())
        QDialog::accept();
}
