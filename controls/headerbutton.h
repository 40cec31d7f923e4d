#pragma once

#include <QAbstractButton>

// The title bar of a slot: shows the slot's kind and, when the kind takes new items
// typed in place, a "+" that says so. Clicking it asks the owner for the in-place edit.
class CHeaderButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit CHeaderButton(QWidget* parent = nullptr);

    void SetAddable(bool addable);
    bool IsAddable() const { return m_addable; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_addable = false;
};
