#pragma once

#include <QString>

class QDialog;
class QPushButton;
class QWidget;

// The OK, Cancel and Help row along the bottom of a dialog: btnOK, btnCancel and btnHelp, each
// 75 by 25, `step` pixels from one's left edge to the next's, OK the default button. OK
// accepts and Cancel rejects the dialog; Help is the caller's to connect. Tab goes from OK to
// Cancel to Help.
struct DialogButtons {
    QPushButton* ok;
    QPushButton* cancel;
    QPushButton* help;

    static DialogButtons add(QDialog* dialog, int okLeft, int top, int step,
                             const QString& okText = QString()); // empty: "OK"

    // Widens each push button of `parent` whose caption would be cut, to the right: the designed
    // sizes fit the English, and a translated caption may need a few pixels of the gap beside.
    static void widenToCaptions(QWidget* parent);
};
