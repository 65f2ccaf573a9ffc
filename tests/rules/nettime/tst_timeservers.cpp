#include "doubles/FakeRegistry.h"
#include "rules/nettime/TimeServers.h"
#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsStore.h"
#include "rules/settings/SettingsTable.h"

#include <QRegularExpression>
#include <QTest>

class TestTimeServers : public QObject {
    Q_OBJECT
private slots:
    void stripCountryPrefix_data();
    void stripCountryPrefix();
    void hostProblem_data();
    void hostProblem();
    void list();
    void applyStoresWhatItIsGiven();
};

void TestTimeServers::stripCountryPrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host");
    QTest::newRow("entry") << "Japan: time-b-b.nist.gov"
                           << "time-b-b.nist.gov";
    QTest::newRow("no blank") << "UK:ptbtime1.ptb.de"
                              << "ptbtime1.ptb.de";
    QTest::newRow("any case") << "uk :  ptbtime1.ptb.de"
                              << "ptbtime1.ptb.de";
    QTest::newRow("bare host") << "time.nist.gov"
                               << "time.nist.gov";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("colon last") << "UK:"
                                << "";
    QTest::newRow("first colon only") << "USA: b:c"
                                      << "b:c";
    // Only a country is a prefix: anything else stays as typed, for the client to refuse.
    QTest::newRow("IPv6") << "::1"
                          << "::1";
    QTest::newRow("port") << "time.nist.gov:37"
                          << "time.nist.gov:37";
    QTest::newRow("not a country") << "A: b"
                                   << "A: b";
    QTest::newRow("pair after colon") << QString::fromUtf8("x:\xF0\x9D\x84\x9Ehost")
                                      << QString::fromUtf8("x:\xF0\x9D\x84\x9Ehost");
}

void TestTimeServers::stripCountryPrefix()
{
    QFETCH(QString, text);
    QTEST(TimeServers::StripCountryPrefix(text), "host");
}

void TestTimeServers::hostProblem_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("problem");
    QTest::newRow("name") << "time.nist.gov"
                          << "";
    QTest::newRow("IPv4") << "127.0.0.1"
                          << "";
    QTest::newRow("IPv6") << "::1"
                          << "IPv6 not supported, use IPv4";
    QTest::newRow("IPv6 bracketed") << "[2001:db8::1]:37"
                                    << "IPv6 not supported, use IPv4";
    QTest::newRow("port") << "time.nist.gov:37"
                          << "Host name must not contain ':'";
}

void TestTimeServers::hostProblem()
{
    QFETCH(QString, host);
    QTEST(TimeServers::hostProblem(host), "problem");
}

void TestTimeServers::list()
{
    const QList<TimeServers::Server> servers = TimeServers::servers();
    const QStringList entries = TimeServers::list();
    QCOMPARE(entries.size(), servers.size());
    // Most national time services answer NTP only: only NIST's and PTB's hosts answer port 37
    // (and NIST's ut1-* servers send UT1, not UTC).
    static const QRegularExpression answers(
        "^((time|time-[a-e]-(g|b|wwv))\\.nist\\.gov|utcnist\\.colorado\\.edu|"
        "ptbtime[12]\\.ptb\\.de)$");
    QStringList countries;
    QStringList defaults;
    for (qsizetype i = 0; i < servers.size(); ++i) {
        const TimeServers::Server& server = servers.at(i);
        // What the dialog shows gives back the host.
        QCOMPARE(TimeServers::StripCountryPrefix(entries.at(i)), server.host);
        QVERIFY2(answers.match(server.host).hasMatch(), qPrintable(entries.at(i)));
        QVERIFY2(!server.site.isEmpty(), qPrintable(entries.at(i)));
        // A country's entries stay together: the help gives each country one row.
        if (countries.isEmpty() || countries.last() != server.country) {
            QVERIFY2(!countries.contains(server.country), qPrintable(entries.at(i)));
            countries << server.country;
        }
        if (server.isDefault)
            defaults << server.host;
    }
    // With nothing stored, the server in use is the default entry's.
    FakeRegistry reg;
    SettingsStore store(reg);
    QCOMPARE(defaults, QStringList{Settings::readText(store, Settings::HostName)});
}

void TestTimeServers::applyStoresWhatItIsGiven()
{
    FakeRegistry reg;
    SettingsStore store(reg);
    SettingsInForce settings;
    const auto stored = [&reg](const char* name) {
        const std::optional<RegValue> v = reg.get(Settings::SettingsSection, QLatin1String(name));
        return v && v->type == RegValue::Type::Sz ? QString::fromUtf8(v->text) : "<none>";
    };
    TimeServers::applyConfiguration(settings, store, "Link up", "Germany: ptbtime2.ptb.de");
    QCOMPARE(settings.InternetWindowTitle, "Link up");
    QCOMPARE(settings.TimeServerHost, "ptbtime2.ptb.de");
    QCOMPARE(stored("InternetWin"), "Link up");
    QCOMPARE(stored("HostName"), "ptbtime2.ptb.de");
    // Nothing is checked: empty values are stored, and turn the automatic check off.
    TimeServers::applyConfiguration(settings, store, "", "UK:");
    QVERIFY(settings.InternetWindowTitle.isEmpty() && settings.TimeServerHost.isEmpty());
    QCOMPARE(stored("InternetWin"), QString());
    QCOMPARE(stored("HostName"), QString());
}

QTEST_GUILESS_MAIN(TestTimeServers)
#include "tst_timeservers.moc"
