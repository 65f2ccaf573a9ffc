#include "windows/perf/IndicatorBar.h"

#include "windows/components/ReadoutAccessible.h"
#include "windows/perf/IndicatorPicture.h"

#include <QPainter>

#include <algorithm>

IndicatorBar::IndicatorBar(const QString& label, QWidget* parent)
    : QWidget(parent), m_picture(IndicatorPicture::make(label))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Full width until the first sample sets a level.
    setFixedSize(IndicatorPicture::Width, IndicatorPicture::Height);
    QAccessible::registerAccessibleInterface(new ReadoutAccessible(
        this, QAccessible::ProgressBar,
        [this] { return m_level < 0 ? QString() : QStringLiteral("%1 %").arg(m_level); },
        [this] { return std::max(m_level, 0); }));
}

void IndicatorBar::showLevel(int level)
{
    level = std::clamp(level, 0, 100);
    setFixedWidth(IndicatorPicture::widthForLevel(level));
    // Samples repeat the same level most of the time: a reader hears only a change.
    if (level == m_level)
        return;
    m_level = level;
    QAccessibleValueChangeEvent event(this, level);
    QAccessible::updateAccessibility(&event);
}

void IndicatorBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}
