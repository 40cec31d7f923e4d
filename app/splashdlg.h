#pragma once

#include <QDialog>
#include <functional>

// The start-up picture: a borderless window centred on the screen that closes itself after a
// fixed time (2 s by default), or at once at a click or any key.
class CSplashDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kDefaultMs = 2000;

    explicit CSplashDlg(int durationMs = kDefaultMs, QWidget* parent = nullptr);

    int DurationMs() const { return m_durationMs; }

    // Shows a splash while `build` runs (the main screen is made meanwhile, so that it is
    // ready when the splash ends), then waits until the splash ends: `durationMs` after it
    // showed, or at a click or a key, which may come while `build` runs. An exception from
    // `build` closes the splash and goes on.
    static void ShowWhile(const std::function<void()>& build, int durationMs = kDefaultMs);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_durationMs;
    bool m_timerStarted = false;
};
