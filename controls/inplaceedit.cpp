#include "controls/inplaceedit.h"

#include <QKeyEvent>

CInPlaceEdit::CInPlaceEdit(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(kMaxBytes);
    setFrame(true);
    setPlaceholderText(tr("New item"));
    connect(this, &QLineEdit::textEdited, this, &CInPlaceEdit::Limit);
    connect(this, &QLineEdit::returnPressed, this, [this] { Finish(text()); });
}

QString CInPlaceEdit::TruncateToBytes(const QString& text, int maxBytes)
{
    QString result;
    int used = 0;
    for (int i = 0; i < text.size();) {
        const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, length);
        const int bytes = static_cast<int>(piece.toUtf8().size());
        if (used + bytes > maxBytes)
            break;
        result += piece;
        used += bytes;
        i += length;
    }
    return result;
}

void CInPlaceEdit::Limit(const QString& text)
{
    const QString fitting = TruncateToBytes(text, kMaxBytes);
    if (fitting != text) {
        const int cursor = qMin(cursorPosition(), static_cast<int>(fitting.size()));
        setText(fitting);
        setCursorPosition(cursor);
    }
}

void CInPlaceEdit::Finish(const QString& text)
{
    if (m_finished)
        return;
    m_finished = true;
    emit Finished(text);
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    Finish(text());
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Finish(QString());
        return;
    }
    QLineEdit::keyPressEvent(event);
}
