#pragma once

#include <QComboBox>

// A drop-down list that tells its owner just before it opens, so that a list of things
// that come and go (storage volumes) can be read again at that moment.
class CDropDown : public QComboBox
{
    Q_OBJECT
public:
    explicit CDropDown(QWidget* parent = nullptr) : QComboBox(parent) {}

    void showPopup() override
    {
        emit AboutToShowPopup();
        QComboBox::showPopup();
    }

signals:
    void AboutToShowPopup();
};
