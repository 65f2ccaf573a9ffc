#include "windows/ui/DialogButtons.h"

#include <QDialog>
#include <QPushButton>

DialogButtons DialogButtons::add(QDialog* dialog, int okLeft, int top, int step,
                                 const QString& okText)
{
    auto button = [&](const QString& text, const char* name, int left) {
        auto* b = new QPushButton(text, dialog);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(left, top, 75, 25);
        return b;
    };
    const DialogButtons row{button(okText, "btnOK", okLeft),
                            button(QStringLiteral("Cancel"), "btnCancel", okLeft + step),
                            button(QStringLiteral("Help"), "btnHelp", okLeft + 2 * step)};
    row.ok->setDefault(true);
    QObject::connect(row.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    QWidget::setTabOrder(row.ok, row.cancel);
    QWidget::setTabOrder(row.cancel, row.help);
    return row;
}
