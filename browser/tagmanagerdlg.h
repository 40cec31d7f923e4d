#pragma once

#include "store/cataloguejournal.h"
#include "store/renametrail.h"
#include "store/tagcatalogue.h"

#include <QDialog>
#include <QStringList>

class CSettingsStore;
class MBrowserPrompts;
class QBoxLayout;
class QListWidget;
class QPushButton;

// The window in which the user keeps the tag groups and their tags. Every change goes to
// the catalogue at once and into a journal; Cancel undoes exactly the changes made here, so
// that what another program (the command line, a second window) changed meanwhile stays, and
// says so when it could not undo them or when another program had written too. OK keeps the
// changes and brings the slot kinds in line: a renamed group renames the slots that showed it,
// a deleted group's slots are repaired. A backup taken at opening stays until the window
// closes, for a crash to leave something to put back by hand.
class CTagManagerDlg : public QDialog
{
    Q_OBJECT
public:
    struct SContext
    {
        const CTagCatalogue& catalogue;
        CSettingsStore& settings;
        MBrowserPrompts& prompts;
    };

    // Takes the backup; when it cannot, says so and offers nothing to change.
    explicit CTagManagerDlg(SContext context, QWidget* parent = nullptr);

    QListWidget* GroupList() const { return m_groups; }
    QListWidget* TagList() const { return m_tags; }
    QPushButton* Button(const QString& name) const;
    // The slot kinds as OK would store them.
    QStringList SlotKinds() const { return m_kinds; }
    // The groups and tags renamed here, from their names at opening to their names now; OK
    // keeps them, Cancel undoes them.
    const CRenameTrail& Renames() const { return m_renames; }

    // The buttons' handlers, public so that tests reach them as the buttons do.
    void OnAddGroup();
    void OnCopyGroup();
    void OnRenameGroup();
    void OnDeleteGroup();
    void OnAddTag();
    void OnRenameTag();
    void OnDeleteTag();
    void OnMoveTagUp();
    void OnMoveTagDown();

    void accept() override;
    void reject() override;

    // What Cancel says when another program changed the tag groups meanwhile, and when a
    // change made here stays because that program changed the same lines.
    static QString TheirsKeptText();
    static QString ConflictText();

    // Side by side from this width on; one above the other below it.
    static constexpr int kWideFrom = 720;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* BuildGroupBox();
    QWidget* BuildTagBox();
    QPushButton* AddButton(QBoxLayout* row, const QString& name, const QString& text,
                           void (CTagManagerDlg::*handler)());
    void ListGroups(int select);
    void ListTags(int select);
    QString SelectedGroup() const;
    QString SelectedTag() const;
    bool RequireGroup(const QString& message);
    bool RequireTag();
    // Shows the message of a refused or failed change; true when the change was made.
    bool Changed(bool written);
    void Tell(const QString& text);

    SContext m_context;
    // The caller's catalogue, with this window's journal.
    CTagCatalogue m_catalogue;
    CCatalogueJournal m_journal;
    QListWidget* m_groups;
    QListWidget* m_tags;
    QBoxLayout* m_boxes = nullptr;
    QStringList m_kinds;
    CRenameTrail m_renames;
    bool m_backedUp = false;
    bool m_changed = false;
};
