#pragma once

#include <QDialog>
#include <QString>

class MBrowserPrompts;
class QLineEdit;

// What the tag manager's five name dialogs share: the label "Enter New Name:", one edit box
// with the focus, and OK, which closes only when Refusal() has nothing to say; otherwise the
// message is shown and the name stays as entered, for the user to correct.
class CNameDlg : public QDialog
{
    Q_OBJECT
public:
    QLineEdit* NameEdit() const { return m_name; }
    // The name as entered, trimmed.
    QString Name() const;

    void accept() override;

protected:
    CNameDlg(const QString& title, const QString& name, MBrowserPrompts& prompts, QWidget* parent);
    // The message that keeps the dialog open; empty to close with OK. May change the
    // catalogue (the add dialogs add as they close).
    virtual QString Refusal() = 0;

private:
    MBrowserPrompts& m_prompts;
    QLineEdit* m_name;
};
