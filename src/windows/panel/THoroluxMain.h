#pragma once

#include "rules/app/ClockTick.h"
#include "rules/perf/IndicatorSink.h"

#include <QPoint>
#include <QWidget>

class IndicatorBar;
class PanelMenu;
class QLabel;
class TBitmapDigits;

// The clock panel: the borderless face with the digits, the colon, the date line and the four
// performance bars, and its popup menu. It shows what it is told and reports the mouse; what a
// click or a menu item does is decided elsewhere.
class THoroluxMain : public QWidget, public ClockFace, public IndicatorSink {
    Q_OBJECT
public:
    explicit THoroluxMain(QWidget* parent = nullptr);

    PanelMenu* popupMenu() const { return m_menu; }
    // Once the program is ending nothing shows the panel again: not a tick, nor a second
    // start's request, handled while the end still pumps events.
    void setEnded() { m_ended = true; }

    // ClockFace
    void setHoursFormatWidth(int width) override;
    void setHoursValue(int value) override;
    void setMinutesValue(int value) override;
    QString dateLine() const override;
    void setDateLine(const QString& text) override;
    void setColon(bool shown) override;
    void setTrayTip(const QString& tip) override;
    void showAndRaise() override;
    // The time as shown, "14:05", as screen readers get it.
    QString timeText() const;

    // IndicatorSink
    void showLevel(Indicator bar, int level) override;

signals:
    // The left button went down and up on a control of the face without moving the panel.
    void clicked();
    // The minute's tip, for the tray icon.
    void trayTipChanged(const QString& tip);
    // The window manager closes the panel (its own Alt+F4 among other ways).
    void closeRequested();
    void shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    // Tells screen readers that a part's text went from `old` to `text`, if it did.
    static void announceChange(QWidget* part, QString& old, const QString& text);

    QLabel* m_lbColon = nullptr;
    TBitmapDigits* m_hours = nullptr;
    TBitmapDigits* m_mins = nullptr;
    QLabel* m_label1 = nullptr;
    IndicatorBar* m_indDSK = nullptr;
    IndicatorBar* m_indCPU = nullptr;
    IndicatorBar* m_indMEM = nullptr;
    IndicatorBar* m_indPF = nullptr;
    QLabel* m_lbDate = nullptr;
    PanelMenu* m_menu = nullptr;
    bool m_ended = false;
    QString m_timeAnnounced;

    // Mouse state for the duration of a press.
    bool m_dragActive = false;
    bool m_dragMoved = false;
    QPoint m_dragOrigin;      // cursor position on the screen at the press
    QPoint m_dragWindowStart; // window position at the press
};
