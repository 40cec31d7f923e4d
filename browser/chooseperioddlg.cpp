#include "browser/chooseperioddlg.h"

#include "browser/browserprompts.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace {

QDateEdit* MakePicker(const QDate& date, QWidget* parent)
{
    auto* picker = new QDateEdit(date, parent);
    picker->setDisplayFormat(QStringLiteral("dd MMMM yyyy"));
    picker->setCalendarPopup(true);
    return picker;
}

} // namespace

CChoosePeriodDlg::CChoosePeriodDlg(const QDate& today, MBrowserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_fromEdit(MakePicker(today, this)),
      m_toEdit(MakePicker(today, this)), m_from(today), m_to(today)
{
    setWindowTitle(tr("Choose Period"));
    auto* form = new QFormLayout;
    form->addRow(tr("From:"), m_fromEdit);
    form->addRow(tr("To:"), m_toEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CChoosePeriodDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addWidget(buttons);
}

void CChoosePeriodDlg::SetRange(const QDate& from, const QDate& to)
{
    m_fromEdit->setDate(from);
    m_toEdit->setDate(to);
    m_from = from;
    m_to = to;
}

QString CChoosePeriodDlg::OrderMessage()
{
    return tr("From must be earlier than To");
}

void CChoosePeriodDlg::accept()
{
    const QDate from = m_fromEdit->date();
    const QDate to = m_toEdit->date();
    if (from > to) {
        m_prompts.Tell(EPromptIcon::Exclamation, QString(), OrderMessage(), this);
        return;
    }
    m_from = from;
    m_to = to;
    QDialog::accept();
}
