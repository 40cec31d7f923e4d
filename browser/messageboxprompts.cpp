#include "browser/messageboxprompts.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {

QString CaptionOr(const QString& caption)
{
    return caption.isEmpty() ? QCoreApplication::translate("CMessageBoxPrompts", "Parlantographer")
                             : caption;
}

} // namespace

void CMessageBoxPrompts::Tell(EPromptIcon icon, const QString& caption, const QString& text,
                              QWidget* owner)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (icon == EPromptIcon::Exclamation)
        boxIcon = QMessageBox::Warning;
    else if (icon == EPromptIcon::Stop)
        boxIcon = QMessageBox::Critical;
    QMessageBox box(boxIcon, CaptionOr(caption), text, QMessageBox::Ok, owner);
    box.exec();
}

bool CMessageBoxPrompts::Ask(const QString& caption, const QString& text, QWidget* owner,
                             EDefaultAnswer byDefault)
{
    QMessageBox box(QMessageBox::Question, CaptionOr(caption), text,
                    QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(byDefault == EDefaultAnswer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
