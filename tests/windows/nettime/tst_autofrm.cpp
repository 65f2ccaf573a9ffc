#include "doubles/FakeRegistry.h"
#include "rules/nettime/TimeServers.h"
#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsStore.h"
#include "windows/nettime/TAutoFrm.h"
#include "windows/ui/HelpPages.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/HelpWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {
template <class T> T* child(QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

// Runs `act` on the dialog once its exec() has shown it, so that no test blocks.
void whenShown(std::function<void(TAutoFrm*)> act)
{
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<TAutoFrm*>(w); d && d->isVisible())
                return act(d);
        }
        whenShown(act);
    });
}
} // namespace

class TestAutoFrm : public QObject {
    Q_OBJECT
private slots:
    void smoke();
    void helpShowsTheList();
    void configure_data();
    void configure();
};

void TestAutoFrm::smoke()
{
    TAutoFrm dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), "Automatic Time Update");
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(child<QLabel>(&dialog, "Label1")->text(), "Window title:");
    QCOMPARE(child<QLabel>(&dialog, "Label2")->text(), "Time server:");
    auto* cb = child<QComboBox>(&dialog, "cbTimeSrv");
    QVERIFY(cb->isEditable());
    QCOMPARE(cb->count(), 14);
    QCOMPARE(cb->itemText(6), "UK: ptbtime1.ptb.de");
    QStringList order; // focus stops; the combo's own line edit has no name
    for (QWidget* w = child<QLineEdit>(&dialog, "edWinTitle"); order.size() < 6;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && !w->objectName().isEmpty())
            order << w->objectName() + '=' + w->property("text").toString();
    }
    QCOMPARE(order, QStringList({"edWinTitle=", "cbTimeSrv=", "btnOK=OK", "btnCancel=Cancel",
                                 "btnHelp=Help", "edWinTitle="}));
    QTest::mouseClick(child<QPushButton>(&dialog, "btnHelp"), Qt::LeftButton);
    QCOMPARE(HelpSystem::window()->currentTopic(), "autoupdate");
    HelpSystem::closeWindow();
}

// The help's table of servers is made from the list the dialog offers: every entry's host in
// its country's row, a bracket shared by hosts of one operator, the default server named.
void TestAutoFrm::helpShowsTheList()
{
    const QString help = HelpPages::find("autoupdate")->html;
    const auto row = [&help](const QString& country) {
        const QRegularExpression cells("<td[^>]*><b>" + country + "</b></td><td>([^<]*)</td>");
        return cells.match(help).captured(1).simplified();
    };
    for (const QString& entry : TimeServers::list())
        QVERIFY2(row(entry.section(": ", 0, 0)).contains(TimeServers::StripCountryPrefix(entry)),
                 qPrintable(entry));
    QCOMPARE(row("France"), "ptbtime1.ptb.de and ptbtime2.ptb.de (PTB)");
    QCOMPARE(row("UK"),
             "ptbtime1.ptb.de (PTB); this is the server Horolux uses until you choose another");
}

void TestAutoFrm::configure_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("host");
    QTest::newRow("OK") << "btnOK"
                        << "Link up"
                        << "time-b-b.nist.gov";
    QTest::newRow("Cancel") << "btnCancel"
                            << "Connected"
                            << "ptbtime1.ptb.de";
}

void TestAutoFrm::configure()
{
    QFETCH(QString, button);
    FakeRegistry reg;
    SettingsStore store(reg);
    SettingsInForce settings;
    settings.InternetWindowTitle = "Connected";
    settings.TimeServerHost = "ptbtime1.ptb.de";
    QStringList shown;
    whenShown([&](TAutoFrm* dialog) {
        auto* cb = child<QComboBox>(dialog, "cbTimeSrv");
        shown << dialog->windowTitleText() << cb->currentText()
              << QString::number(cb->currentIndex());
        child<QLineEdit>(dialog, "edWinTitle")->setText("Link up");
        cb->setCurrentIndex(5); // "Japan: ..."
        QTest::mouseClick(child<QPushButton>(dialog, qPrintable(button)), Qt::LeftButton);
    });
    btnAutoClick(nullptr, settings, store);
    // A bare host is shown as it is, with no entry of the list marked.
    QCOMPARE(shown, QStringList({"Connected", "ptbtime1.ptb.de", "-1"}));
    QTEST(settings.InternetWindowTitle, "title");
    QTEST(settings.TimeServerHost, "host");
    QCOMPARE(reg.writes, button == QLatin1String("btnOK") ? 2 : 0);
}

QTEST_MAIN(TestAutoFrm)
#include "tst_autofrm.moc"
