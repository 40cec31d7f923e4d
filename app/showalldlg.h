#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QListWidget;
class QPushButton;

// Shows every item of one main-screen slot in a full-size list, so the user can choose
// among more items than the slot shows. Slots of a single-choice kind (CSlotKind) allow
// one choice and hide "Select All". OK hands back the choice; Cancel leaves the
// caller's states untouched.
class CShowAllDlg : public QDialog
{
    Q_OBJECT
public:
    CShowAllDlg(const QString& kind, const QStringList& items, const QList<bool>& states,
                QWidget* parent = nullptr);

    bool IsSingleChoice() const { return m_singleChoice; }
    // The choice as the user left it (one state per item).
    QList<bool> States() const;

    QListWidget* List() const { return m_list; }
    QPushButton* SelectAllButton() const { return m_selectAll; }
    QPushButton* DeselectAllButton() const { return m_deselectAll; }

private:
    void SetAll(bool selected);

    bool m_singleChoice;
    QListWidget* m_list;
    QPushButton* m_selectAll;
    QPushButton* m_deselectAll;
};
