#pragma once

#include <QDialog>

// The start-up picture: a borderless window centred on the screen that closes itself
// after a fixed time (2 s by default).
class CSplashDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDefaultMs = 2000;

    explicit CSplashDlg(int durationMs = kDefaultMs, QWidget* parent = nullptr);

    int DurationMs() const { return m_durationMs; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_durationMs;
    bool m_timerStarted = false;
};
