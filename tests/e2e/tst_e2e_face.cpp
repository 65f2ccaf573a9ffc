#include "E2eRig.h"

#include <QTest>

class TestE2e : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_MAIN(TestE2e)
#include "tst_e2e_face.moc"
