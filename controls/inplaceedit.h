#pragma once

#include <QLineEdit>

// A one-line edit opened over a slot to type a new item. It holds at most a fixed
// number of bytes of UTF-8 (the catalogues bound their names in bytes) and reports its
// end exactly once: with the text on Return or when it loses the focus, with an empty
// text on Escape.
class CInPlaceEdit : public QLineEdit
{
    Q_OBJECT
public:
    static constexpr int kMaxBytes = 25;

    explicit CInPlaceEdit(QWidget* parent = nullptr);

    // The longest prefix of `text` that fits `maxBytes` of UTF-8 without splitting a
    // character.
    static QString TruncateToBytes(const QString& text, int maxBytes);

signals:
    void Finished(const QString& text);

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Finish(const QString& text);
    void Limit(const QString& text);

    bool m_finished = false;
};
