#pragma once

#include "store/renametrail.h"

#include <QByteArray>
#include <QDialog>
#include <QStringList>

class CSettingsStore;
class CTagCatalogue;
class MBrowserPrompts;
class QBoxLayout;
class QListWidget;
class QPushButton;

// The window in which the user keeps the tag groups and their tags. Every change goes to
// the catalogue at once; a backup taken when the window opens lets Cancel put the file back
// byte for byte (and say so when it could not), while OK keeps the changes and brings the
// slot kinds in line: a renamed group renames the slots that showed it, a deleted group's
// slots are repaired. The caller refills the main screen afterwards in either case.
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
    QListWidget* m_groups;
    QListWidget* m_tags;
    QBoxLayout* m_boxes = nullptr;
    QStringList m_kinds;
    CRenameTrail m_renames;
    QByteArray m_original;
    bool m_backedUp = false;
    bool m_changed = false;
};
