#include "browser/recordsummary.h"

#include "controls/backgroundpainter.h"
#include "controls/theme.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kPadding = 6;
// The widths the summary asks for, in average characters: what it likes, and what it needs
// at least (a narrow window still shows a few letters of every row).
constexpr int kPreferredChars = 32;
constexpr int kMinimumChars = 8;

} // namespace

CRecordSummary::CRecordSummary(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("summary"));
    setAccessibleName(tr("Record information"));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

CRecordSummary::~CRecordSummary() = default;

QString CRecordSummary::NothingText()
{
    return tr("No Attach information");
}

void CRecordSummary::ShowRecord(const SContent& content)
{
    const QString separator = QStringLiteral(", ");
    SetRows({
        {tr("Recorded: "), content.recorded.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))},
        {tr("Task: "), content.tasks.join(separator)},
        {tr("Contacts: "), content.contacts.join(separator)},
        {tr("Tags: "), content.tags.join(separator)},
    });
}

void CRecordSummary::ShowNothing()
{
    SetRows({{QString(), NothingText()}});
}

void CRecordSummary::ClearSummary()
{
    SetRows({});
}

void CRecordSummary::SetRows(QList<SRow> rows)
{
    m_rows = std::move(rows);
    QStringList plain;
    for (const SRow& row : std::as_const(m_rows))
        plain << row.label + row.value;
    m_plain = plain.join(QLatin1Char('\n'));
    setAccessibleDescription(m_plain);
    updateGeometry();
    update();
}

QFont CRecordSummary::LabelFont() const
{
    QFont bold = font();
    bold.setWeight(QFont::DemiBold);
    return bold;
}

QRect CRecordSummary::TextArea() const
{
    return rect().adjusted(kPadding, kPadding, -kPadding, -kPadding);
}

std::vector<std::unique_ptr<QTextLayout>> CRecordSummary::Layouts(int width,
                                                                  const QColor& labelInk) const
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTextCharFormat label;
    label.setFont(LabelFont());
    label.setForeground(labelInk);
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    qreal y = 0;
    for (const SRow& row : m_rows) {
        auto layout = std::make_unique<QTextLayout>(row.label + row.value, font());
        layout->setTextOption(option);
        if (!row.label.isEmpty())
            layout->setFormats({{0, static_cast<int>(row.label.size()), label}});
        layout->beginLayout();
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(qMax(1, width));
            line.setPosition(QPointF(0, y));
            y += line.height();
        }
        layout->endLayout();
        layouts.push_back(std::move(layout));
    }
    return layouts;
}

void CRecordSummary::SetMaximumLines(int lines)
{
    m_maximumLines = lines;
    updateGeometry();
}

int CRecordSummary::heightForWidth(int width) const
{
    qreal height = 0;
    for (const auto& layout : Layouts(width - 2 * kPadding, QColor()))
        height += layout->boundingRect().height();
    if (m_maximumLines > 0)
        height = qMin(height, static_cast<qreal>(m_maximumLines * fontMetrics().lineSpacing()));
    return static_cast<int>(std::ceil(height)) + 2 * kPadding;
}

QSize CRecordSummary::sizeHint() const
{
    const int width = fontMetrics().averageCharWidth() * kPreferredChars + 2 * kPadding;
    return {width, heightForWidth(width)};
}

QSize CRecordSummary::minimumSizeHint() const
{
    return {fontMetrics().averageCharWidth() * kMinimumChars + 2 * kPadding,
            fontMetrics().height() + 2 * kPadding};
}

void CRecordSummary::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor base = CBackgroundPainter::PaintPanel(p, rect());

    const QRect area = TextArea();
    const QColor ink = Theme::ListText();
    const QColor labelInk = Theme::Ink(base);
    p.setPen(ink);
    p.setClipRect(area);
    const auto layouts = Layouts(area.width(), labelInk);
    for (std::size_t r = 0; r < layouts.size(); ++r) {
        const QTextLayout& layout = *layouts[r];
        const SRow& row = m_rows[static_cast<qsizetype>(r)];
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            const qreal bottom = line.y() + line.height();
            const bool lastRoom = bottom + line.height() > area.height();
            const bool more = i + 1 < layout.lineCount() || r + 1 < layouts.size();
            if (!lastRoom || !more) {
                line.draw(&p, area.topLeft());
                if (bottom > area.height())
                    return;
                continue;
            }
            // The last line there is room for, with more to come: what fits, then "…".
            const int start = line.textStart();
            const int labelEnd = static_cast<int>(row.label.size());
            QPointF at = area.topLeft() + QPointF(0, line.y() + line.ascent());
            qreal room = area.width();
            if (start < labelEnd) {
                const QString label = row.label.mid(start);
                const QFontMetricsF bold(LabelFont());
                p.setFont(LabelFont());
                p.setPen(labelInk);
                p.drawText(at, bold.elidedText(label, Qt::ElideRight, room));
                at.rx() += bold.horizontalAdvance(label);
                room -= bold.horizontalAdvance(label);
                p.setFont(font());
                p.setPen(ink);
            }
            const QString value = layout.text().mid(qMax(start, labelEnd));
            if (room > 0)
                p.drawText(at, QFontMetricsF(font()).elidedText(value + QChar(0x2026),
                                                                Qt::ElideRight, room));
            return;
        }
    }
}

void CRecordSummary::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(tr("&Copy"));
    copy->setEnabled(!m_plain.isEmpty());
    if (menu.exec(event->globalPos()) == copy)
        QApplication::clipboard()->setText(m_plain);
}
