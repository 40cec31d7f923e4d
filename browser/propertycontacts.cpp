#include "browser/propertycontacts.h"

#include "controls/theme.h"
#include "controls/wholerowsview.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CPropertyContacts::CPropertyContacts(SPageServices& services, QWidget* parent)
    : CBrowserPage(services, parent), m_contacts(new CWholeRowsView<QListWidget>(this)),
      m_clear(new QPushButton(tr("CS"), this))
{
    m_contacts->setObjectName(QStringLiteral("contacts"));
    m_contacts->setSelectionMode(QAbstractItemView::MultiSelection);
    m_contacts->setStyleSheet(RecordListWidget()->styleSheet());
    m_contacts->setMaximumHeight(120);
    m_clear->setObjectName(QStringLiteral("clearContacts"));
    m_clear->setToolTip(tr("Clear the chosen contacts"));
    auto* row = new QHBoxLayout;
    row->addWidget(m_contacts, 1);
    row->addWidget(m_clear, 0, Qt::AlignTop);
    SelectorArea()->addLayout(row);
    connect(m_contacts, &QListWidget::itemSelectionChanged, this, [this] {
        StopPlayback();
        FillRecords(SelectedName());
    });
    connect(m_clear, &QPushButton::clicked, this, [this] { m_contacts->clearSelection(); });
    connect(SearchField(), &QLineEdit::textEdited, this, &CPropertyContacts::ScrollToTyped);
}

QString CPropertyContacts::NoContactsText()
{
    return tr("No Contacts");
}

QStringList CPropertyContacts::ChosenContacts() const
{
    QStringList chosen;
    for (int i = 0; i < m_contacts->count(); ++i) {
        if (m_contacts->item(i)->isSelected())
            chosen << m_contacts->item(i)->text();
    }
    return chosen;
}

void CPropertyContacts::FillContacts()
{
    SRecordQuery all;
    all.set = ERecordSet::WithContacts;
    const QStringList contacts = Records().Contacts(all);
    const QStringList chosen = ChosenContacts();
    const QSignalBlocker block(m_contacts);
    m_contacts->clear();
    for (const QString& contact : contacts) {
        auto* item = new QListWidgetItem(contact, m_contacts);
        // A contact chosen before stays chosen while some record still names it.
        item->setSelected(chosen.contains(contact, Qt::CaseInsensitive));
    }
    if (contacts.isEmpty()) {
        auto* item = new QListWidgetItem(NoContactsText(), m_contacts);
        item->setFlags(Qt::ItemIsEnabled);
        item->setForeground(Theme::DisabledText());
    }
}

void CPropertyContacts::ScrollToTyped(const QString& text)
{
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return;
    for (int i = 0; i < m_contacts->count(); ++i) {
        if (m_contacts->item(i)->text().startsWith(typed, Qt::CaseInsensitive)) {
            m_contacts->scrollToItem(m_contacts->item(i), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

bool CPropertyContacts::RefreshSelectors()
{
    FillContacts();
    return true;
}

SRecordQuery CPropertyContacts::Query() const
{
    SRecordQuery query;
    query.set = ERecordSet::WithContacts;
    query.contacts = ChosenContacts();
    return query;
}
