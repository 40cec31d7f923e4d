#pragma once

#include <QString>

class QWidget;

enum class EMessageIcon
{
    Information,
    Exclamation,
    Stop,
};

// Every message box of the program goes through one sink, so that the windows can be
// driven headless: tests install a sink that records the texts instead of blocking.
class MMessageSink
{
public:
    virtual ~MMessageSink() = default;
    virtual void Show(EMessageIcon icon, const QString& caption, const QString& text,
                      QWidget* owner) = 0;
};

// The real thing: a modal QMessageBox with an OK button.
class CMessageBoxSink : public MMessageSink
{
public:
    void Show(EMessageIcon icon, const QString& caption, const QString& text,
              QWidget* owner) override;
};
