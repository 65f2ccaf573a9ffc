#pragma once

#include <QAccessibleWidget>
#include <QList>
#include <QPointer>
#include <QWidget>

// The clock panel as a screen reader walks it: only the parts that say something, in reading
// order. The digit displays, the blinking colon and the black backdrop stay out; one part
// stands for the whole time instead.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(QWidget* panel);
    // Set once the parts exist; the interface itself is in place before, so that nothing
    // builds the plain one first.
    void setParts(const QList<QWidget*>& parts);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QPointer<QWidget>> m_parts;
};
