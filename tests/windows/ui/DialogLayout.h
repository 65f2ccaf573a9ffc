#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QTabWidget>
#include <QWidget>

// What a user would see wrong in a dialog laid out by hand, one line per fault: a control
// reaching out of its box, two controls on top of each other, a text cut off. Only what shows
// is looked at: the current page of a page control, and each group box's own controls.
namespace DialogLayout {

inline QString nameOf(const QWidget* w)
{
    if (!w->objectName().isEmpty())
        return w->objectName();
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return QString("label \"%1\"").arg(l->text());
    return QString::fromLatin1(w->metaObject()->className());
}

// The width a control needs to show its text whole; 0 for a control without text.
inline int textWidthNeeded(const QWidget* w)
{
    if (const auto* b = qobject_cast<const QPushButton*>(w)) {
        // The style's minimum push button width is no part of the text.
        QString text = b->text();
        text.remove('&');
        return b->fontMetrics().horizontalAdvance(text) +
               2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
    }
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return l->text().isEmpty() ? 0 : l->sizeHint().width();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text().isEmpty() ? 0 : b->sizeHint().width();
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title().isEmpty() ? 0 : g->minimumSizeHint().width();
    return 0;
}

inline void check(const QWidget* box, QStringList& faults)
{
    QList<const QWidget*> controls;
    for (const QObject* o : box->children()) {
        const auto* w = qobject_cast<const QWidget*>(o);
        if (w && !w->isWindow() && w->isVisibleTo(box))
            controls << w;
    }
    for (qsizetype i = 0; i < controls.size(); ++i) {
        const QWidget* w = controls[i];
        if (!box->rect().contains(w->geometry()))
            faults << QString("%1 reaches out of %2").arg(nameOf(w), nameOf(box));
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (w->geometry().intersects(controls[j]->geometry()))
                faults << QString("%1 overlaps %2").arg(nameOf(w), nameOf(controls[j]));
        const int needed = textWidthNeeded(w);
        if (needed > w->width() || (needed > 0 && w->fontMetrics().height() > w->height()))
            faults << QString("%1 cuts its text off: %2x%3 for %4x%5")
                          .arg(nameOf(w))
                          .arg(w->width())
                          .arg(w->height())
                          .arg(needed)
                          .arg(w->fontMetrics().height());
        // A caption's text must stop short of the control beside it, whatever its language.
        const auto* caption = qobject_cast<const QLabel*>(w);
        if (caption && !caption->text().isEmpty() && (caption->alignment() & Qt::AlignLeft)) {
            const int textEnd =
                caption->x() + caption->fontMetrics().horizontalAdvance(caption->text());
            for (const QWidget* other : controls) {
                const bool beside = other->x() > caption->x() &&
                                    other->y() < caption->geometry().bottom() &&
                                    other->geometry().bottom() > caption->y();
                if (other != w && beside && other->x() - textEnd < 2)
                    faults << QString("%1 touches %2: text to %3, control from %4")
                                  .arg(nameOf(w), nameOf(other))
                                  .arg(textEnd)
                                  .arg(other->x());
            }
        }
        if (qobject_cast<const QGroupBox*>(w))
            check(w, faults);
        else if (const auto* pages = qobject_cast<const QTabWidget*>(w))
            check(pages->currentWidget(), faults);
    }
}

inline QStringList faults(const QWidget* dialog)
{
    QStringList found;
    check(dialog, found);
    return found;
}

} // namespace DialogLayout
