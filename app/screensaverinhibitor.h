#pragma once

#include <QObject>
#include <cstdint>

// Keeps the desktop from blanking or locking while a recording runs, through the
// freedesktop screen-saver service on the session bus. Without a session bus or the
// service it does nothing; the calls never block the window thread.
class CScreenSaverInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit CScreenSaverInhibitor(QObject* parent = nullptr);
    ~CScreenSaverInhibitor() override;

    void Inhibit(const QString& reason);
    void Release();
    bool IsRequested() const { return m_wanted; }

private:
    void SendUninhibit(std::uint32_t cookie);

    bool m_wanted = false;
    bool m_pending = false;
    bool m_haveCookie = false;
    std::uint32_t m_cookie = 0;
};
