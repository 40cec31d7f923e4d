#pragma once

#include "store/recordinfoedit.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <vector>

class CAudioManager;
class CTagCatalogue;
class MBrowserPrompts;
class MPimSource;
class QBoxLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// "Edit record info": which contacts, which task and which tags of each group a stored record
// carries. It opens on one record of a browser page and steps through the page's others with
// Prev and Next. Each tap changes a working copy of the record's information at once; leaving
// the record (Prev, Next, OK) asks whether to save it into the file. Saving reads the record
// again under its lock and makes the taps on what it holds now, so that a change another
// program made meanwhile is kept (RecordInfoFile). A save that fails (the record is being
// recorded, or cannot be written) is reported and leaves the record where it was, with the
// changes still there to save again or to drop with Cancel. The page reads the records the
// editor saved again after it closes.
class CEditRecordInfoDlg : public QDialog
{
    Q_OBJECT
public:
    struct SContext
    {
        CAudioManager& audio;
        const CTagCatalogue& catalogue;
        const MPimSource& pim;
        MBrowserPrompts& prompts;
    };

    static constexpr const char* kCategoryTasks = "Tasks";
    static constexpr const char* kCategoryContacts = "Contacts";
    static constexpr const char* kSaveQuestion = "Do You want to save changes to current record?";
    static constexpr const char* kBadFile = "Bad file";
    // Side by side from this width on; one above the other below it.
    static constexpr int kWideFrom = 720;

    // `paths`: the page's records in list order, as the file system spells them; `current`:
    // the one to open on.
    CEditRecordInfoDlg(SContext context, std::vector<std::filesystem::path> paths, int current,
                       QWidget* parent = nullptr);

    QListWidget* Categories() const { return m_categories; }
    QListWidget* Values() const { return m_values; }
    QPushButton* PrevButton() const { return m_prev; }
    QPushButton* NextButton() const { return m_next; }
    QString FileNameText() const;
    QString DateText() const;
    QString DurationText() const;
    // The working copy of the current record's information.
    QString WorkingCopy() const { return m_block; }
    std::filesystem::path CurrentPath() const;
    // The records written, in the order they were saved (a record saved twice, twice).
    const std::vector<std::filesystem::path>& SavedPaths() const { return m_saved; }
    // Shows a category's values, as a tap on it does.
    void SelectCategory(const QString& category);
    // The number of the record's values in a category (the category's mark).
    int Mark(const QString& category) const;

    void OnPrev();
    void OnNext();
    void accept() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildLayout();
    void Load();
    void FillCategories();
    void FillValues();
    void SyncSelection();
    void UpdateMarks();
    void OnValuesChanged();
    void Toggle(const QString& value);
    // Makes a change on the working copy and keeps it for the save; reports a refusal.
    void Change(const std::function<RecordInfoEdit::EResult(QString&)>& change);
    // Asks and writes when the copy changed; false when the write failed (reported).
    bool Save();
    void Move(int step);
    QString CurrentCategory() const;
    bool Holds(const QString& category, const QString& value) const;
    QStringList Offered(const QString& category) const;

    SContext m_context;
    std::vector<std::filesystem::path> m_paths;
    std::vector<std::filesystem::path> m_saved;
    int m_current;
    QString m_block;
    // The changes made on the working copy since it was read, in order, to be made again on
    // what the record holds when it is saved.
    std::vector<std::function<RecordInfoEdit::EResult(QString&)>> m_changes;
    bool m_dirty = false;
    QStringList m_shownSelection;
    QLineEdit* m_fileName;
    QLineEdit* m_minutes;
    QLineEdit* m_seconds;
    QLineEdit* m_date;
    QListWidget* m_categories;
    QListWidget* m_values;
    QPushButton* m_prev;
    QPushButton* m_next;
    QBoxLayout* m_lists = nullptr;
};
