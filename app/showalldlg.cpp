#include "app/showalldlg.h"

#include "controls/slotlistview.h"
#include "store/slotkind.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CShowAllDlg::CShowAllDlg(const QString& kind, const QStringList& items, const QList<bool>& states,
                         QWidget* parent)
    : QDialog(parent), m_singleChoice(CSlotKind(kind).IsSingleChoice()),
      m_list(new CSlotListView(this)), m_selectAll(new QPushButton(tr("Select All"), this)),
      m_deselectAll(new QPushButton(tr("Deselect All"), this))
{
    setWindowTitle(kind);
    auto* view = static_cast<CSlotListView*>(m_list);
    view->SetSingleChoice(m_singleChoice);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->SetAlwaysItemMode(true);
    view->setFocusPolicy(Qt::StrongFocus);
    view->setAccessibleName(tr("Items"));
    // The palette's base colour, so a dark theme stays readable.
    view->setStyleSheet(QStringLiteral("QListWidget { background: palette(base); border: 1px "
                                       "solid palette(mid); border-radius: 4px; }"));
    for (const QString& text : items)
        m_list->addItem(text);
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setSelected(i < states.size() && states.at(i));

    auto* title =
        new QLabel(m_singleChoice ? tr("Choose one item:") : tr("Choose the items:"), this);
    auto* choiceButtons = new QHBoxLayout;
    choiceButtons->addWidget(m_selectAll);
    choiceButtons->addStretch();
    choiceButtons->addWidget(m_deselectAll);
    m_selectAll->setVisible(!m_singleChoice);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_selectAll, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(m_deselectAll, &QPushButton::clicked, this, [this] { SetAll(false); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_list, 1);
    layout->addLayout(choiceButtons);
    layout->addWidget(box);
    resize(320, 420);
}

QList<bool> CShowAllDlg::States() const
{
    QList<bool> states;
    for (int i = 0; i < m_list->count(); ++i)
        states << m_list->item(i)->isSelected();
    return states;
}

void CShowAllDlg::SetAll(bool selected)
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setSelected(selected);
}
