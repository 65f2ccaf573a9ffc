#include "windows/perf/IndicatorBar.h"

#include "windows/perf/IndicatorPicture.h"

#include <QPainter>

IndicatorBar::IndicatorBar(const QString& label, QWidget* parent)
    : QWidget(parent), m_picture(IndicatorPicture::make(label))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Full width until the first sample sets a level.
    setFixedSize(IndicatorPicture::Width, IndicatorPicture::Height);
}

void IndicatorBar::showLevel(int level)
{
    setFixedWidth(IndicatorPicture::widthForLevel(level));
}

void IndicatorBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}
