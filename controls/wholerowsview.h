#pragma once

#include <QAbstractItemView>
#include <QScrollBar>

// An item view that never shows a row cut in half: the viewport ends below the last row
// that fits whole, and scrolling goes by whole rows. Every row is as high as the first
// (lists of one text line per item).
template <typename View> class CWholeRowsView : public View
{
public:
    using View::View;

protected:
    void updateGeometries() override
    {
        View::updateGeometries();
        this->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        const int row =
            this->model() && this->model()->rowCount() > 0 ? this->sizeHintForRow(0) : 0;
        if (row <= 0)
            return;
        // The height the rows may take: what the viewport has now plus what was left out.
        const int available = this->viewport()->height() + m_spare;
        const int spare = available >= row ? available % row : 0;
        if (spare != m_spare) {
            m_spare = spare;
            this->setViewportMargins(0, 0, 0, spare);
        }
    }

private:
    int m_spare = 0;
};
