#pragma once

#include <QAccessibleWidget>

#include <functional>

// A display a screen reader reads as a name and a value: the name is the widget's accessible
// name, the value a text ("14:05") offered through the text interface, which is what readers
// speak for a label. Given a level, it is also a 0..100 value, as a progress bar's.
class ReadoutAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleValueInterface {
public:
    ReadoutAccessible(QWidget* widget, QAccessible::Role role, std::function<QString()> value,
                      std::function<int()> level = {});

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;

    // QAccessibleTextInterface: the value, read only, without a caret or selections.
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    // QAccessibleValueInterface: the level; nothing sets it from outside.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    std::function<QString()> m_value;
    std::function<int()> m_level;
};
