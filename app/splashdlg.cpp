#include "app/splashdlg.h"

#include "controls/drawnicons.h"
#include "controls/theme.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

CSplashDlg::CSplashDlg(int durationMs, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_durationMs(durationMs)
{
    setFixedSize(400, 120);
    setAttribute(Qt::WA_TranslucentBackground, false);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CSplashDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_timerStarted)
        return;
    m_timerStarted = true;
    QTimer::singleShot(m_durationMs, this, &QDialog::accept);
}

void CSplashDlg::ShowWhile(const std::function<void()>& build, int durationMs)
{
    CSplashDlg splash(durationMs);
    splash.show();
    // Keys reach the splash, the only window yet.
    splash.activateWindow();
    // Drawn before the main screen is built, which keeps the event loop busy meanwhile.
    QElapsedTimer waited;
    waited.start();
    while (splash.windowHandle() && !splash.windowHandle()->isExposed() && waited.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    build();
    if (!splash.isVisible())
        return; // a click or a key came while the main screen was built
    QEventLoop wait;
    connect(&splash, &QDialog::finished, &wait, &QEventLoop::quit);
    wait.exec();
}

void CSplashDlg::mousePressEvent(QMouseEvent*)
{
    accept();
}

void CSplashDlg::keyPressEvent(QKeyEvent*)
{
    accept();
}

void CSplashDlg::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(rect().topLeft(), rect().bottomLeft());
    gradient.setColorAt(0, Theme::GradientTop());
    gradient.setColorAt(1, Theme::GradientBottom());
    p.setPen(QPen(Theme::Border(), 4));
    p.setBrush(gradient);
    p.drawRect(rect().adjusted(2, 2, -2, -2));

    const int side = 72;
    const QRect iconArea(24, (height() - side) / 2, side, side);
    DrawnIcons::AppIcon().paint(&p, iconArea);

    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 1.8);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Theme::Ink(Theme::GradientTop()));
    const QRect textArea(iconArea.right() + 18, 24, width() - iconArea.right() - 36, 44);
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Parlantographer"));

    QFont line = font();
    p.setFont(line);
    p.setPen(Theme::ListText());
    p.drawText(QRect(textArea.left(), textArea.bottom() + 4, textArea.width(), 24),
               Qt::AlignLeft | Qt::AlignTop, tr("Voice memos with tags, tasks and contacts"));
}
