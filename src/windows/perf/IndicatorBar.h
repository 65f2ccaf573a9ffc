#pragma once

#include <QImage>
#include <QWidget>

// One indicator bar of the clock face: its picture drawn at natural size from the left edge;
// the widget's width decides how much of it shows. Mouse events go on to the parent.
// Screen readers read it as its accessible name with the level ("37 %").
class IndicatorBar : public QWidget {
    Q_OBJECT
public:
    IndicatorBar(const QString& label, QWidget* parent);

    // Any integer; clamped to 0..100.
    void showLevel(int level);
    // The level shown, -1 before the first one.
    int level() const { return m_level; }
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    int m_level = -1;
};
