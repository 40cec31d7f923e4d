#include "app/messagesink.h"

#include <QMessageBox>

void CMessageBoxSink::Show(EMessageIcon icon, const QString& caption, const QString& text,
                           QWidget* owner)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (icon == EMessageIcon::Exclamation)
        boxIcon = QMessageBox::Warning;
    else if (icon == EMessageIcon::Stop)
        boxIcon = QMessageBox::Critical;
    QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}
