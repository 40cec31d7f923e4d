#include "app/mainfocus.h"

#include "controls/glyphbutton.h"
#include "controls/headerbutton.h"
#include "controls/slotlist.h"
#include "controls/slotlistview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

CMainFocus::CMainFocus(const std::array<CSlotList*, 4>& slotLists, QWidget* recordButton,
                       std::function<bool(int)> isVisible, QObject* parent)
    : QObject(parent), m_slots(slotLists), m_recordButton(recordButton),
      m_isVisible(std::move(isVisible))
{
    for (CSlotList* slot : m_slots) {
        for (QWidget* part : SlotParts(slot))
            part->installEventFilter(this);
    }
    m_recordButton->installEventFilter(this);
}

std::array<QWidget*, 4> CMainFocus::SlotParts(const CSlotList* slot)
{
    // The sub-focus order inside a slot: header, list, show all, clear.
    return {slot->HeaderButton(), slot->ListView(), slot->ShowAllButton(), slot->ClearButton()};
}

QList<QWidget*> CMainFocus::Positions() const
{
    QList<QWidget*> chain;
    for (int i = 0; i < 4; ++i) {
        if (!m_isVisible(i))
            continue;
        for (QWidget* part : SlotParts(m_slots[static_cast<std::size_t>(i)])) {
            // An empty list has nothing to select, and a disabled part cannot be used.
            const auto* list = qobject_cast<const CSlotListView*>(part);
            if ((list && list->count() == 0) || !part->isEnabled())
                continue;
            chain << part;
        }
    }
    chain << m_recordButton;
    return chain;
}

void CMainFocus::Move(int step)
{
    const QList<QWidget*> chain = Positions();
    QWidget* focused = QApplication::focusWidget();
    qsizetype at = chain.indexOf(focused);
    for (CSlotList* slot : m_slots) {
        if (at < 0 && focused && slot->isAncestorOf(focused))
            at = chain.indexOf(slot->HeaderButton());
    }
    if (at < 0)
        at = chain.size() - 1;
    const qsizetype next = (at + step + chain.size()) % chain.size();
    // As Tab would: the focus marks are for keyboard focus. An in-place edit that ends as
    // it loses the focus leaves it where the key sent it.
    m_target = chain.at(next);
    m_target->setFocus(Qt::TabFocusReason);
    m_target = nullptr;
}

bool CMainFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) &&
            HandleKey(static_cast<QWidget*>(watched), key))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

bool CMainFocus::HandleKey(QWidget* target, const QKeyEvent* key)
{
    if (const auto* list = qobject_cast<CSlotListView*>(target); list && list->IsItemMode())
        return false; // the list moves its selection mark itself
    switch (key->key()) {
    case Qt::Key_Up:
        Move(-1);
        return true;
    case Qt::Key_Down:
        Move(1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        // Buttons of a slot are clicked (the slot is disabled while recording); the list
        // and the record button handle the key themselves.
        if (auto* button = qobject_cast<QAbstractButton*>(target)) {
            button->click();
            return true;
        }
        return false;
    default:
        return false;
    }
}
