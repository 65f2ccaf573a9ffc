#include "windows/components/TBitmapDigits.h"

#include <QPainter>
#include <QResizeEvent>

#include <cstdlib>

namespace {

constexpr int MinusCell = 10;
// Precisions above this leave the digits unpadded (as the C formatter we mirror does).
constexpr int MaxPaddedWidth = 15;

int cellOf(QChar c)
{
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c == QLatin1Char('-'))
        return MinusCell;
    return 0;
}

} // namespace

TBitmapDigits::TBitmapDigits(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TBitmapDigits::~TBitmapDigits() = default;

QString TBitmapDigits::displayText(qint32 value, quint16 formatWidth)
{
    // Through 64 bits so the most negative value has a magnitude.
    const qint64 wide = value;
    QString digits = QString::number(wide < 0 ? -wide : wide);
    if (formatWidth >= 1 && formatWidth <= MaxPaddedWidth && digits.size() < formatWidth)
        digits.prepend(QString(formatWidth - digits.size(), QLatin1Char('0')));
    if (value < 0)
        digits.prepend(QLatin1Char('-'));
    return digits;
}

QList<TBitmapDigits::Glyph> TBitmapDigits::layoutGlyphs(const QString& text, int width, int inset,
                                                        int numberWidth, int gap)
{
    QList<Glyph> glyphs;
    int pos = width - inset;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        pos -= numberWidth;
        // A glyph whose left edge would touch the inset is lost along with those left of it.
        if (pos > inset)
            glyphs.append(Glyph{cellOf(text.at(i)), pos});
        pos -= gap;
    }
    return glyphs;
}

int TBitmapDigits::inset() const
{
    int sum = m_borderWidth + m_margin;
    if (m_bevelInner != bvNone)
        sum += m_bevelWidth;
    if (m_bevelOuter != bvNone)
        sum += m_bevelWidth;
    return sum;
}

QList<TBitmapDigits::Glyph> TBitmapDigits::glyphs() const
{
    if (m_text.isEmpty())
        return {};
    return layoutGlyphs(m_text, width(), inset(), m_numberWidth, m_gap);
}

void TBitmapDigits::setNumbers(const QImage& strip)
{
    m_numbers = strip.copy();
    m_numberWidth = static_cast<quint16>(m_numbers.width() / 10);
    adjustHeight();
    update();
}

void TBitmapDigits::setNumberWidth(quint16 width)
{
    m_numberWidth = width;
    update();
}

void TBitmapDigits::setValue(qint32 value)
{
    m_value = value;
    m_text = displayText(m_value, m_formatWidth);
    update();
}

void TBitmapDigits::setMargin(quint16 margin)
{
    m_margin = margin;
    adjustHeight();
    update();
}

void TBitmapDigits::setAutoSize(bool on)
{
    m_autoSize = on;
    adjustHeight();
    update();
}

void TBitmapDigits::setGap(qint32 gap)
{
    m_gap = gap;
    update();
}

void TBitmapDigits::setFormatWidth(quint16 width)
{
    m_formatWidth = width;
    setValue(m_value);
}

// The panel's own properties move the inset, so they refit the height as well.
void TBitmapDigits::setBevelInner(BevelCut cut)
{
    m_bevelInner = cut;
    adjustHeight();
    update();
}

void TBitmapDigits::setBevelOuter(BevelCut cut)
{
    m_bevelOuter = cut;
    adjustHeight();
    update();
}

void TBitmapDigits::setBevelWidth(int width)
{
    m_bevelWidth = qMax(0, width);
    adjustHeight();
    update();
}

void TBitmapDigits::setBorderWidth(int width)
{
    m_borderWidth = qMax(0, width);
    adjustHeight();
    update();
}

void TBitmapDigits::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void TBitmapDigits::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

QSize TBitmapDigits::sizeHint() const
{
    const int cells = qMax<qsizetype>(1, m_text.size());
    return {cells * m_numberWidth + (cells - 1) * qMax(0, m_gap) + 2 * inset() + 1,
            m_numbers.height() + 2 * inset()};
}

void TBitmapDigits::adjustHeight()
{
    if (!m_autoSize)
        return;
    const int h = m_numbers.height() + 2 * inset();
    if (h != height())
        resize(width(), h);
}

void TBitmapDigits::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    adjustHeight();
}

void TBitmapDigits::paintBevel(QPainter& painter, QRect& rect, BevelCut cut) const
{
    if (cut == bvNone)
        return;
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor topLeft = cut == bvRaised ? light : dark;
    const QColor bottomRight = cut == bvRaised ? dark : light;
    for (int i = 0; i < m_bevelWidth && rect.width() > 0 && rect.height() > 0; ++i) {
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

void TBitmapDigits::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The panel: outer bevel, border and background in the panel colour, inner bevel, caption.
    QRect rect = this->rect();
    painter.fillRect(rect, m_color);
    paintBevel(painter, rect, m_bevelOuter);
    rect.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    paintBevel(painter, rect, m_bevelInner);
    if (!m_caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect, Qt::AlignCenter, m_caption);
    }

    if (m_numbers.isNull() || m_numberWidth == 0)
        return;
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const int top = inset();
    const QRect strip = m_numbers.rect();
    for (const Glyph& glyph : glyphs()) {
        // Only the part of the cell inside the strip is copied: a minus sign with a
        // ten-cell strip shows nothing rather than whatever lies past its edge.
        const QRect cell(glyph.cell * m_numberWidth, 0, m_numberWidth, m_numbers.height());
        const QRect source = cell.intersected(strip);
        if (source.isEmpty())
            continue;
        const QPoint target(glyph.x + (source.left() - cell.left()), top);
        painter.drawImage(target, m_numbers, source);
    }
}
