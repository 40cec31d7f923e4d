#include "controls/drawnicons.h"

#include "controls/theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace DrawnIcons {
namespace {

void DrawGlyph(QPainter& p, EGlyph glyph, const QColor& ink, qreal s)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(ink, s * 0.11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case EGlyph::ScrollUp:
    case EGlyph::ScrollDown: {
        const bool up = glyph == EGlyph::ScrollUp;
        QPainterPath path;
        const qreal top = up ? s * 0.32 : s * 0.68;
        const qreal bottom = up ? s * 0.68 : s * 0.32;
        path.moveTo(s * 0.22, bottom);
        path.lineTo(s * 0.5, top);
        path.lineTo(s * 0.78, bottom);
        p.drawPath(path);
        break;
    }
    case EGlyph::ClearSelection:
        p.drawLine(QPointF(s * 0.28, s * 0.28), QPointF(s * 0.72, s * 0.72));
        p.drawLine(QPointF(s * 0.72, s * 0.28), QPointF(s * 0.28, s * 0.72));
        break;
    case EGlyph::ShowAll:
        for (int row = 0; row < 3; ++row) {
            const qreal y = s * (0.3 + row * 0.2);
            p.drawPoint(QPointF(s * 0.22, y));
            p.drawLine(QPointF(s * 0.38, y), QPointF(s * 0.8, y));
        }
        break;
    case EGlyph::Add:
        p.drawLine(QPointF(s * 0.5, s * 0.24), QPointF(s * 0.5, s * 0.76));
        p.drawLine(QPointF(s * 0.24, s * 0.5), QPointF(s * 0.76, s * 0.5));
        break;
    case EGlyph::Settings: {
        p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.16, s * 0.16);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(s * 0.5, s * 0.5);
            p.rotate(i * 45.0);
            p.drawLine(QPointF(0, -s * 0.26), QPointF(0, -s * 0.38));
            p.restore();
        }
        break;
    }
    case EGlyph::Player: {
        QPainterPath path;
        path.moveTo(s * 0.34, s * 0.24);
        path.lineTo(s * 0.76, s * 0.5);
        path.lineTo(s * 0.34, s * 0.76);
        path.closeSubpath();
        p.setBrush(ink);
        p.drawPath(path);
        break;
    }
    case EGlyph::About:
        p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.36, s * 0.36);
        p.drawLine(QPointF(s * 0.5, s * 0.46), QPointF(s * 0.5, s * 0.7));
        p.drawPoint(QPointF(s * 0.5, s * 0.32));
        break;
    case EGlyph::Exit:
        p.drawLine(QPointF(s * 0.5, s * 0.18), QPointF(s * 0.5, s * 0.48));
        p.drawArc(QRectF(s * 0.22, s * 0.24, s * 0.56, s * 0.56), 120 * 16, 300 * 16);
        break;
    case EGlyph::Record:
        p.setPen(Qt::NoPen);
        p.setBrush(ink == Theme::DisabledText() ? ink : Theme::RecordRed());
        p.drawEllipse(QPointF(s * 0.5, s * 0.5), s * 0.3, s * 0.3);
        break;
    case EGlyph::Pause:
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(s * 0.27, s * 0.24, s * 0.16, s * 0.52), s * 0.03, s * 0.03);
        p.drawRoundedRect(QRectF(s * 0.57, s * 0.24, s * 0.16, s * 0.52), s * 0.03, s * 0.03);
        break;
    case EGlyph::SkipBack:
    case EGlyph::SkipForward: {
        // Two arrowheads pointing the way the skip goes.
        const qreal direction = glyph == EGlyph::SkipForward ? 1.0 : -1.0;
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (const qreal from : {0.14, 0.46}) {
            QPainterPath head;
            const qreal x0 = 0.5 + direction * (from - 0.5);
            const qreal x1 = 0.5 + direction * (from + 0.36 - 0.5);
            head.moveTo(s * x0, s * 0.26);
            head.lineTo(s * x1, s * 0.5);
            head.lineTo(s * x0, s * 0.74);
            head.closeSubpath();
            p.drawPath(head);
        }
        break;
    }
    }
}

} // namespace

QPixmap Glyph(EGlyph glyph, const QColor& ink, int size, qreal ratio)
{
    const int pixels = qRound(size * ratio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    DrawGlyph(painter, glyph, ink, pixels);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

const char* ThemeName(EGlyph glyph)
{
    switch (glyph) {
    case EGlyph::ScrollUp:
        return "go-up";
    case EGlyph::ScrollDown:
        return "go-down";
    case EGlyph::ClearSelection:
        return "edit-clear";
    case EGlyph::ShowAll:
        return "view-list";
    case EGlyph::Add:
        return "list-add";
    case EGlyph::Settings:
        return "preferences-system";
    case EGlyph::Player:
        return "media-playback-start";
    case EGlyph::About:
        return "help-about";
    case EGlyph::Exit:
        return "application-exit";
    case EGlyph::Record:
        return "media-record";
    case EGlyph::Pause:
        return "media-playback-pause";
    case EGlyph::SkipBack:
        return "media-seek-backward";
    case EGlyph::SkipForward:
        return "media-seek-forward";
    }
    return "";
}

QIcon Drawn(EGlyph glyph)
{
    return Drawn(glyph, Theme::ListBase());
}

QIcon Drawn(EGlyph glyph, const QColor& background)
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        icon.addPixmap(Glyph(glyph, Theme::Ink(background), size), QIcon::Normal);
        icon.addPixmap(Glyph(glyph, Theme::DisabledText(), size), QIcon::Disabled);
    }
    return icon;
}

QIcon Icon(EGlyph glyph)
{
    const QString name = QString::fromLatin1(ThemeName(glyph));
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return Drawn(glyph);
}

QIcon AppIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF outer(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
        QLinearGradient gradient(outer.topLeft(), outer.bottomLeft());
        gradient.setColorAt(0, Theme::GradientTop());
        gradient.setColorAt(1, Theme::GradientBottom());
        p.setPen(QPen(Theme::Border(), size * 0.06));
        p.setBrush(gradient);
        p.drawRoundedRect(outer, size * 0.2, size * 0.2);
        p.setPen(Qt::NoPen);
        p.setBrush(Theme::RecordRed());
        p.drawEllipse(QPointF(size * 0.5, size * 0.5), size * 0.24, size * 0.24);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace DrawnIcons
