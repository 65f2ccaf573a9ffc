#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

// A panel that shows one integer as a right-aligned row of glyphs copied from a bitmap strip.
// Cells 0..9 of the strip hold the digits, an optional cell 10 the minus sign.
class TBitmapDigits : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QImage Numbers READ Numbers WRITE setNumbers)
    Q_PROPERTY(quint16 NumberWidth READ NumberWidth WRITE setNumberWidth)
    Q_PROPERTY(qint32 Value READ Value WRITE setValue)
    Q_PROPERTY(quint16 Margin READ Margin WRITE setMargin)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE setAutoSize)
    Q_PROPERTY(qint32 Gap READ Gap WRITE setGap)
    Q_PROPERTY(quint16 FormatWidth READ FormatWidth WRITE setFormatWidth)
    Q_PROPERTY(BevelCut BevelInner READ BevelInner WRITE setBevelInner)
    Q_PROPERTY(BevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE setBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth)
    Q_PROPERTY(QColor Color READ Color WRITE setColor)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)

public:
    enum BevelCut { bvNone, bvLowered, bvRaised };
    Q_ENUM(BevelCut)

    // One glyph as painted: the strip cell it comes from and its left edge in the control.
    struct Glyph {
        int cell = 0;
        int x = 0;
        bool operator==(const Glyph&) const = default;
    };

    explicit TBitmapDigits(QWidget* parent = nullptr);
    ~TBitmapDigits() override;

    // The text shown for a value: "%.<formatWidth>d" (at least one digit, zero-padded to
    // formatWidth digits when that is 1..15, '-' in front of negative values).
    static QString displayText(qint32 value, quint16 formatWidth);
    // Glyphs of `text` laid out from the right edge: only those left of which more than
    // `inset` pixels remain are drawn.
    static QList<Glyph> layoutGlyphs(const QString& text, int width, int inset, int numberWidth,
                                     int gap);

    // Pixels from the left (and top, and right) edge to the glyph area.
    int inset() const;
    QString text() const { return m_text; }
    QList<Glyph> glyphs() const;

    QImage Numbers() const { return m_numbers; }
    void setNumbers(const QImage& strip);
    quint16 NumberWidth() const { return m_numberWidth; }
    void setNumberWidth(quint16 width);
    qint32 Value() const { return m_value; }
    void setValue(qint32 value);
    quint16 Margin() const { return m_margin; }
    void setMargin(quint16 margin);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    qint32 Gap() const { return m_gap; }
    void setGap(qint32 gap);
    quint16 FormatWidth() const { return m_formatWidth; }
    void setFormatWidth(quint16 width);

    // The panel underneath.
    BevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(BevelCut cut);
    BevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(BevelCut cut);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);
    QColor Color() const { return m_color; }
    void setColor(const QColor& color);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void adjustHeight();
    void paintBevel(QPainter& painter, QRect& rect, BevelCut cut) const;

    QImage m_numbers;
    quint16 m_numberWidth = 0;
    qint32 m_value = 0;
    quint16 m_margin = 2;
    bool m_autoSize = true;
    qint32 m_gap = 0;
    quint16 m_formatWidth = 1;
    QString m_text = QStringLiteral("0");

    BevelCut m_bevelInner = bvNone;
    BevelCut m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    QColor m_color = Qt::black;
    QString m_caption;
};
