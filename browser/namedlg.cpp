#include "browser/namedlg.h"

#include "browser/browserprompts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// Wide enough for any name a catalogue line takes to be read in full while typed.
constexpr int kDesignedWidth = 320;

} // namespace

CNameDlg::CNameDlg(const QString& title, const QString& name, MBrowserPrompts& prompts,
                   QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_name(new QLineEdit(name, this))
{
    setWindowTitle(title);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNameDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Enter New Name:"), this));
    layout->addWidget(m_name);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(kDesignedWidth);
    m_name->setFocus(Qt::OtherFocusReason);
}

QString CNameDlg::Name() const
{
    return m_name->text().trimmed();
}

void CNameDlg::accept()
{
    const QString refusal = Refusal();
    if (!refusal.isEmpty()) {
        m_prompts.Tell(EPromptIcon::Exclamation, QString(), refusal, this);
        m_name->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}
