#include "controls/slotlist.h"

#include "controls/glyphbutton.h"
#include "controls/headerbutton.h"
#include "controls/inplaceedit.h"
#include "controls/slotlistview.h"
#include "controls/theme.h"

#include <QPainter>
#include <QResizeEvent>

CSlotList::CSlotList(QWidget* parent)
    : QWidget(parent), m_header(new CHeaderButton(this)), m_list(new CSlotListView(this)),
      m_up(new CGlyphButton(DrawnIcons::EGlyph::ScrollUp, this)),
      m_down(new CGlyphButton(DrawnIcons::EGlyph::ScrollDown, this)),
      m_clear(new CGlyphButton(DrawnIcons::EGlyph::ClearSelection, this)),
      m_showAll(new CGlyphButton(DrawnIcons::EGlyph::ShowAll, this))
{
    m_up->setToolTip(tr("Scroll up"));
    m_down->setToolTip(tr("Scroll down"));
    m_clear->setToolTip(tr("Clear the selection"));
    m_showAll->setToolTip(tr("Show all items"));
    m_up->setAutoRepeat(true);
    m_down->setAutoRepeat(true);

    connect(m_header, &QAbstractButton::clicked, this, &CSlotList::HeaderClicked);
    connect(m_showAll, &QAbstractButton::clicked, this, &CSlotList::ShowAllClicked);
    connect(m_clear, &QAbstractButton::clicked, this, &CSlotList::ClearSelection);
    connect(m_up, &QAbstractButton::clicked, m_list, &CSlotListView::ScrollUpOne);
    connect(m_down, &QAbstractButton::clicked, m_list, &CSlotListView::ScrollDownOne);
    connect(m_list, &CSlotListView::Toggled, this, &CSlotList::SelectionChanged);
    m_list->SetTapGuard([this] {
        if (!m_edit)
            return false;
        // The tap only ends the edit; it does not toggle an item as well.
        EndEdit(m_edit->text());
        return true;
    });
    Arrange();
}

void CSlotList::SetKind(const QString& kind)
{
    m_kind = CSlotKind(kind);
    m_header->setText(kind);
    m_header->SetAddable(m_kind.CanAddItems());
    m_list->SetSingleChoice(m_kind.IsSingleChoice());
}

bool CSlotList::AddItemIfAbsent(const QString& text)
{
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->text() == text)
            return false;
    }
    m_list->addItem(text);
    UpdateScrollButtons();
    return true;
}

void CSlotList::ClearItems()
{
    m_list->clear();
    UpdateScrollButtons();
}

QStringList CSlotList::Items() const
{
    QStringList items;
    for (int i = 0; i < m_list->count(); ++i)
        items << m_list->item(i)->text();
    return items;
}

QList<bool> CSlotList::SelectionStates() const
{
    QList<bool> states;
    for (int i = 0; i < m_list->count(); ++i)
        states << m_list->item(i)->isSelected();
    return states;
}

void CSlotList::SetSelectionStates(const QList<bool>& states)
{
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setSelected(i < states.size() && states.at(i));
    m_list->viewport()->update();
    emit SelectionChanged();
}

QStringList CSlotList::SelectedItems() const
{
    QStringList selected;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->isSelected())
            selected << m_list->item(i)->text();
    }
    return selected;
}

void CSlotList::ClearSelection()
{
    SetSelectionStates({});
}

bool CSlotList::Choose(const QString& text)
{
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->text() != text)
            continue;
        if (!m_list->item(i)->isSelected())
            m_list->ToggleRow(i);
        m_list->ScrollToRow(i);
        return true;
    }
    return false;
}

void CSlotList::RefreshRows()
{
    UpdateScrollButtons();
    m_list->viewport()->update();
}

void CSlotList::OpenInPlaceEdit()
{
    if (m_edit || !m_kind.CanAddItems())
        return;
    m_edit = new CInPlaceEdit(this);
    m_edit->setGeometry(m_list->x() + 1, m_list->y() + 1, m_list->width() - 2,
                        m_edit->sizeHint().height());
    connect(m_edit, &CInPlaceEdit::Finished, this, &CSlotList::EndEdit);
    m_edit->show();
    m_edit->setFocus(Qt::OtherFocusReason);
}

void CSlotList::EndEdit(const QString& text)
{
    if (!m_edit)
        return;
    CInPlaceEdit* edit = m_edit;
    m_edit = nullptr;
    // The edit may be inside its own focus-out handler: delete it once that returns.
    edit->blockSignals(true);
    edit->hide();
    edit->deleteLater();
    emit EditFinished(text.trimmed());
}

QRect CSlotList::ListFrame() const
{
    return m_list->geometry().adjusted(-1, -1, 1, 1);
}

void CSlotList::Arrange()
{
    const int gap = 3;
    const int button = m_up->sizeHint().width();
    const int headerHeight = m_header->sizeHint().height();
    const int w = width();
    const int h = height();
    m_showAll->setGeometry(w - button, 0, button, headerHeight);
    m_clear->setGeometry(w - 2 * button - gap, 0, button, headerHeight);
    m_header->setGeometry(0, 0, qMax(0, w - 2 * button - 2 * gap), headerHeight);
    const int bodyTop = headerHeight + gap;
    const int bodyHeight = qMax(0, h - bodyTop);
    const int half = (bodyHeight - gap) / 2;
    m_up->setGeometry(w - button, bodyTop, button, qMax(0, half));
    m_down->setGeometry(w - button, bodyTop + half + gap, button, qMax(0, bodyHeight - half - gap));
    m_list->setGeometry(1, bodyTop + 1, qMax(0, w - button - gap - 2), qMax(0, bodyHeight - 2));
    if (m_edit)
        m_edit->setGeometry(m_list->x() + 1, m_list->y() + 1, m_list->width() - 2,
                            m_edit->sizeHint().height());
    UpdateScrollButtons();
}

void CSlotList::UpdateScrollButtons()
{
    const bool scrollable = m_list->CanScroll();
    m_up->setEnabled(scrollable && isEnabled());
    m_down->setEnabled(scrollable && isEnabled());
    if (!scrollable)
        m_list->ScrollToFirst();
}

void CSlotList::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void CSlotList::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        UpdateScrollButtons();
}

void CSlotList::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(ListFrame()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(isEnabled() ? Theme::Border() : Theme::DisabledText(), 1));
    p.setBrush(isEnabled() ? Theme::ListBase() : Theme::DisabledFill());
    p.drawRoundedRect(frame, 4, 4);
}
