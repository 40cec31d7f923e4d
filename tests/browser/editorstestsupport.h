#pragma once

#include "browser/browserprompts.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Keeps the messages of the editors and answers their questions, so nothing blocks.
class CAnsweringPrompts : public MBrowserPrompts
{
public:
    void Tell(EPromptIcon, const QString&, const QString& text, QWidget*) override { told << text; }
    bool Ask(const QString&, const QString& text, QWidget*) override
    {
        asked << text;
        return answer;
    }
    QStringList told;
    QStringList asked;
    bool answer = true;
};

// Acts on the modal dialog of type Dialog once it is open. When it does not open, or another
// one does, the test fails and that dialog is closed rather than left hanging.
template <typename Dialog> void OnModal(std::function<void(Dialog&)> act)
{
    auto* poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, tries, act] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (dialog || (modal && ++*tries > 200) || ++*tries > 400) {
            poll->stop();
            poll->deleteLater();
            if (dialog) {
                act(*dialog);
                return;
            }
            ADD_FAILURE() << "the expected dialog did not open";
            if (auto* other = qobject_cast<QDialog*>(modal))
                other->reject();
        }
    });
    poll->start(5);
}
