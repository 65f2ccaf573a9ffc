#include "windows/ui/DialogButtons.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPushButton>
#include <QStyle>

DialogButtons DialogButtons::add(QDialog* dialog, int okLeft, int top, int step,
                                 const QString& okText)
{
    auto button = [&](const QString& text, const char* name, int left) {
        auto* b = new QPushButton(text, dialog);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(left, top, 75, 25);
        return b;
    };
    const QString ok =
        okText.isEmpty() ? QCoreApplication::translate("DialogButtons", "OK") : okText;
    const DialogButtons row{
        button(ok, "btnOK", okLeft),
        button(QCoreApplication::translate("DialogButtons", "Cancel"), "btnCancel", okLeft + step),
        button(QCoreApplication::translate("DialogButtons", "Help"), "btnHelp", okLeft + 2 * step)};
    row.ok->setDefault(true);
    QObject::connect(row.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    widenToCaptions(dialog);
    QWidget::setTabOrder(row.ok, row.cancel);
    QWidget::setTabOrder(row.cancel, row.help);
    return row;
}

void DialogButtons::widenToCaptions(QWidget* parent)
{
    for (QPushButton* b : parent->findChildren<QPushButton*>()) {
        QString caption = b->text();
        caption.remove(QLatin1Char('&'));
        const int needed = b->fontMetrics().horizontalAdvance(caption) +
                           2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
        if (needed > b->width())
            b->resize(needed, b->height());
    }
}
