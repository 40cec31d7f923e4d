#pragma once

#include "browser/browserpage.h"

class QListWidget;
class QPushButton;

// The page "Contacts": every contact the records name, and the records that name every
// contact chosen (taps add and remove contacts; "CS" lets them all go). With no contact
// chosen every record that names a contact is listed. Typing in the search field also
// brings the first contact that begins with the text into view.
class CPropertyContacts : public CBrowserPage
{
    Q_OBJECT
public:
    explicit CPropertyContacts(SPageServices& services, QWidget* parent = nullptr);

    QListWidget* ContactList() const { return m_contacts; }
    QPushButton* ClearButton() const { return m_clear; }
    QStringList ChosenContacts() const;

    static QString NoContactsText();

protected:
    SRecordQuery Query() const override;
    bool RefreshSelectors() override;

private:
    void FillContacts();
    void ScrollToTyped(const QString& text);

    QListWidget* m_contacts;
    QPushButton* m_clear;
};
