#pragma once

#include "rules/settings/SettingsStore.h"

class QWidget;

// A top-level widget seen through the window placement functions of the settings store.
class WidgetPlacement : public PlaceableWindow {
public:
    explicit WidgetPlacement(QWidget* window) : m_window(window) {}

    int windowState() const override;
    void setWindowState(int state) override;
    int top() const override;
    int left() const override;
    int width() const override;
    int height() const override;
    void setTop(int top) override;
    void setLeft(int left) override;
    void setWidth(int width) override;
    void setHeight(int height) override;

private:
    QWidget* m_window;
};
