#pragma once

#include <QList>
#include <QObject>
#include <array>
#include <functional>

class CSlotList;
class QKeyEvent;
class QWidget;

// The main screen's keyboard positions: the parts of each visible slot (header, list, show
// all, clear) and then the record button. Up and Down move through them, wrapping around;
// Return clicks a slot's button. A list in item mode keeps Up and Down for its mark, and an
// empty list or a disabled part is passed over.
class CMainFocus : public QObject
{
public:
    // `isVisible(i)` says whether slot i shows. The widgets must outlive this object.
    CMainFocus(const std::array<CSlotList*, 4>& slotLists, QWidget* recordButton,
               std::function<bool(int)> isVisible, QObject* parent = nullptr);

    // Every position the keys visit, in order.
    QList<QWidget*> Positions() const;
    // One position on (1) or back (-1), from where the focus is: focus elsewhere counts as
    // the record button, an in-place edit as its slot's header.
    void Move(int step);
    // Where a move is going while the focus changes (an in-place edit that ends as it loses
    // the focus asks), else null.
    QWidget* Target() const { return m_target; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::array<QWidget*, 4> SlotParts(const CSlotList* slot);
    bool HandleKey(QWidget* target, const QKeyEvent* key);

    std::array<CSlotList*, 4> m_slots;
    QWidget* m_recordButton;
    std::function<bool(int)> m_isVisible;
    QWidget* m_target = nullptr;
};
