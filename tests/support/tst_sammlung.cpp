#include "support/Sammlung.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestSammlung : public QObject
{
    Q_OBJECT
private slots:
    void minutenZuZeit_data();
    void minutenZuZeit();
    void zeitZuMinuten_data();
    void zeitZuMinuten();
    void minutenHinUndZurueck();
    void hexZuInt_data();
    void hexZuInt();
    void teilString_data();
    void teilString();
    void teilStringMehrfach();
    void wochentagName_data();
    void wochentagName();
    void achsenSchritt_data();
    void achsenSchritt();
    void ganzzahlLesen_data();
    void ganzzahlLesen();
};

void TestSammlung::minutenZuZeit_data()
{
    QTest::addColumn<qint32>("minuten");
    QTest::addColumn<bool>("nullZeigen");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 hidden") << 0 << false << QString();
    QTest::newRow("0 shown") << 0 << true << QStringLiteral("00:00");
    QTest::newRow("59") << 59 << false << QStringLiteral("00:59");
    QTest::newRow("60") << 60 << false << QStringLiteral("01:00");
    QTest::newRow("510") << 510 << false << QStringLiteral("08:30");
    QTest::newRow("1440") << 1440 << false << QStringLiteral("24:00");
    QTest::newRow("1500 not wrapped") << 1500 << false << QStringLiteral("25:00");
    QTest::newRow("6000") << 6000 << false << QStringLiteral("100:00");
    QTest::newRow("65535") << 65535 << false << QStringLiteral("1092:15");
    QTest::newRow("-1") << -1 << false << QStringLiteral("--00:01");
    QTest::newRow("-90") << -90 << true << QStringLiteral("--01:30");
    QTest::newRow("max") << std::numeric_limits<qint32>::max() << false << QStringLiteral("35791394:07");
    QTest::newRow("min") << std::numeric_limits<qint32>::min() << false << QStringLiteral("--35791394:08");
}

void TestSammlung::minutenZuZeit()
{
    QFETCH(qint32, minuten);
    QFETCH(bool, nullZeigen);
    QFETCH(QString, text);
    QCOMPARE(MinutenZuZeit(minuten, nullZeigen), text);
}

void TestSammlung::zeitZuMinuten_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("minuten");
    QTest::newRow("08:30") << QStringLiteral("08:30") << 510;
    QTest::newRow("8:5") << QStringLiteral("8:5") << 485;
    QTest::newRow("24:00") << QStringLiteral("24:00") << 1440;
    QTest::newRow("1092:15") << QStringLiteral("1092:15") << 65535;
    QTest::newRow("--00:01 hours no number") << QStringLiteral("--00:01") << 1;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("no colon: first two are minutes") << QStringLiteral("1230") << 12;
    QTest::newRow("130 typed") << QStringLiteral("130") << 13;
    QTest::newRow("only two minute chars") << QStringLiteral("01:305") << 90;
    QTest::newRow("minutes not a number") << QStringLiteral("02:x5") << 120;
    QTest::newRow("empty hours") << QStringLiteral(":45") << 45;
    QTest::newRow("empty minutes") << QStringLiteral("3:") << 180;
    QTest::newRow("leading blanks") << QStringLiteral(" 1: 5") << 65;
    QTest::newRow("signed hours") << QStringLiteral("-1:30") << -30;
    QTest::newRow("plus sign") << QStringLiteral("+2:+1") << 121;
    QTest::newRow("trailing blank not a number") << QStringLiteral("2 :00") << 0;
    QTest::newRow("second colon in minutes") << QStringLiteral("1:2:3") << 60;
    QTest::newRow("hours beyond 32 bits") << QStringLiteral("99999999999:00") << 0;
    // 32-bit wrap of hours * 60, as the arithmetic it stands for.
    QTest::newRow("hours wrap") << QStringLiteral("2147483647:00") << qint32(quint32(2147483647u) * 60u);
}

void TestSammlung::zeitZuMinuten()
{
    QFETCH(QString, text);
    QFETCH(qint32, minuten);
    QCOMPARE(ZeitZuMinuten(text), minuten);
}

void TestSammlung::minutenHinUndZurueck()
{
    for (qint32 m = 0; m <= 65535; ++m) {
        const QString t = MinutenZuZeit(m, false);
        if (ZeitZuMinuten(t) != m)
            QFAIL(qPrintable(QStringLiteral("%1 -> \"%2\" -> %3").arg(m).arg(t).arg(ZeitZuMinuten(t))));
    }
}

void TestSammlung::hexZuInt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("wert");
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("lower case") << QStringLiteral("01f4") << -1;
    QTest::newRow("01F4") << QStringLiteral("01F4") << 500;
    QTest::newRow("FFFF") << QStringLiteral("FFFF") << 65535;
    QTest::newRow("0000") << QStringLiteral("0000") << 0;
    QTest::newRow("one digit") << QStringLiteral("A") << 10;
    QTest::newRow("all digits") << QStringLiteral("0123456789ABCDEF") << qint32(0x89ABCDEFu);
    QTest::newRow("7FFFFFFF") << QStringLiteral("7FFFFFFF") << 0x7FFFFFFF;
    QTest::newRow("80000000 negative") << QStringLiteral("80000000") << std::numeric_limits<qint32>::min();
    QTest::newRow("FFFFFFFF") << QStringLiteral("FFFFFFFF") << -1;
    QTest::newRow("digits before last eight add nothing") << QStringLiteral("1200000010") << 16;
    QTest::newRow("blank") << QStringLiteral("01 4") << -1;
    QTest::newRow("leading blank") << QStringLiteral(" 1F4") << -1;
    QTest::newRow("sign") << QStringLiteral("-1") << -1;
    QTest::newRow("G") << QStringLiteral("0G") << -1;
    QTest::newRow("bad char beyond eighth") << QStringLiteral("x00000001") << -1;
    QTest::newRow("NUL") << QString(QChar(0)) << -1;
    QTest::newRow("non-ASCII") << QStringLiteral("1Ä") << -1;
    QTest::newRow("fullwidth digit") << QString(QChar(0xFF11)) << -1;
}

void TestSammlung::hexZuInt()
{
    QFETCH(QString, text);
    QFETCH(qint32, wert);
    QCOMPARE(HexZuInt(text), wert);
}

void TestSammlung::teilString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trenner");
    QTest::addColumn<QString>("teil");
    QTest::addColumn<QString>("rest");
    QTest::newRow("version at dot") << QStringLiteral("2.1.0 [Build 0]") << QStringLiteral(".")
                                    << QStringLiteral("2") << QStringLiteral("1.0 [Build 0]");
    QTest::newRow("no blank") << QStringLiteral("0.0") << QStringLiteral(" ") << QString()
                              << QStringLiteral("0.0");
    QTest::newRow("separator first") << QStringLiteral(".x") << QStringLiteral(".") << QString()
                                     << QStringLiteral("x");
    QTest::newRow("separator last") << QStringLiteral("x.") << QStringLiteral(".")
                                    << QStringLiteral("x") << QString();
    QTest::newRow("empty text") << QString() << QStringLiteral(".") << QString() << QString();
}

void TestSammlung::teilString()
{
    QFETCH(QString, text);
    QFETCH(QString, trenner);
    QFETCH(QString, teil);
    QFETCH(QString, rest);
    QString t = text;
    QString part = QStringLiteral("alt");
    TeilString(trenner.at(0), t, part);
    QCOMPARE(part, teil);
    QCOMPARE(t, rest);
}

// The version notice takes the release number from three cuts in a row.
void TestSammlung::teilStringMehrfach()
{
    QString text = QStringLiteral("2.1.0 [Build 0]");
    QString teil;
    TeilString(QLatin1Char('.'), text, teil);
    TeilString(QLatin1Char('.'), text, teil);
    TeilString(QLatin1Char(' '), text, teil);
    QCOMPARE(teil, QStringLiteral("0"));

    text = QStringLiteral("0.0.0.0");
    TeilString(QLatin1Char('.'), text, teil);
    TeilString(QLatin1Char('.'), text, teil);
    TeilString(QLatin1Char(' '), text, teil);
    QCOMPARE(teil, QString());
    QCOMPARE(text, QStringLiteral("0.0"));
}

void TestSammlung::wochentagName_data()
{
    QTest::addColumn<qint32>("tag");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << QStringLiteral("Samstag");
    QTest::newRow("1") << 1 << QStringLiteral("Sonntag");
    QTest::newRow("2") << 2 << QStringLiteral("Montag");
    QTest::newRow("3") << 3 << QStringLiteral("Dienstag");
    QTest::newRow("4") << 4 << QStringLiteral("Mittwoch");
    QTest::newRow("5") << 5 << QStringLiteral("Donnerstag");
    QTest::newRow("6") << 6 << QStringLiteral("Freitag");
    QTest::newRow("7") << 7 << QStringLiteral("Samstag");
    QTest::newRow("8") << 8 << QStringLiteral("-8-?");
    QTest::newRow("9") << 9 << QStringLiteral("-9-?");
    QTest::newRow("12") << 12 << QStringLiteral("-12-?");
    QTest::newRow("-1") << -1 << QStringLiteral("--1-?");
    QTest::newRow("min") << std::numeric_limits<qint32>::min() << QStringLiteral("--2147483648-?");
}

void TestSammlung::wochentagName()
{
    QFETCH(qint32, tag);
    QFETCH(QString, name);
    QCOMPARE(WochentagName(tag), name);
}

void TestSammlung::achsenSchritt_data()
{
    QTest::addColumn<double>("massstab");
    QTest::addColumn<qint32>("schritt");
    QTest::newRow("1.0") << 1.0 << 50;
    QTest::newRow("3.0") << 3.0 << 10;
    QTest::newRow("0.0005") << 0.0005 << 200000;
    QTest::newRow("30 px per unit") << 30.0 << 1;
    QTest::newRow("29.5 rounds to 30") << 29.5 << 1;
    QTest::newRow("29.4") << 29.4 << 2;
    QTest::newRow("14.75: 29.5 px for step 2") << 14.75 << 2;
    QTest::newRow("last of the series") << 0.0006 << 50000;
    QTest::newRow("just below the series") << 0.00058 << 200000;
    QTest::newRow("zero") << 0.0 << 200000;
    QTest::newRow("negative") << -5.0 << 200000;
    QTest::newRow("huge") << 1e300 << 1;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 1;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 200000;
}

void TestSammlung::achsenSchritt()
{
    QFETCH(double, massstab);
    QFETCH(qint32, schritt);
    QCOMPARE(AchsenSchritt(massstab), schritt);
}

void TestSammlung::ganzzahlLesen_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint32>("wert");
    QTest::newRow("0") << QStringLiteral("0") << true << 0;
    QTest::newRow("360") << QStringLiteral("360") << true << 360;
    QTest::newRow("-15") << QStringLiteral("-15") << true << -15;
    QTest::newRow("+7") << QStringLiteral("+7") << true << 7;
    QTest::newRow("leading blanks") << QStringLiteral("   42") << true << 42;
    QTest::newRow("leading zeros") << QStringLiteral("0007") << true << 7;
    QTest::newRow("max") << QStringLiteral("2147483647") << true << std::numeric_limits<qint32>::max();
    QTest::newRow("min") << QStringLiteral("-2147483648") << true << std::numeric_limits<qint32>::min();
    QTest::newRow("above max") << QStringLiteral("2147483648") << false << 0;
    QTest::newRow("below min") << QStringLiteral("-2147483649") << false << 0;
    QTest::newRow("many digits") << QStringLiteral("123456789012345678901234567890") << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("blank only") << QStringLiteral("  ") << false << 0;
    QTest::newRow("sign only") << QStringLiteral("-") << false << 0;
    QTest::newRow("two signs") << QStringLiteral("--1") << false << 0;
    QTest::newRow("trailing blank") << QStringLiteral("12 ") << false << 0;
    QTest::newRow("blank after sign") << QStringLiteral("- 1") << false << 0;
    QTest::newRow("fraction") << QStringLiteral("20.5") << false << 0;
    QTest::newRow("FFFF") << QStringLiteral("FFFF") << false << 0;
    QTest::newRow("hex prefix") << QStringLiteral("0x10") << false << 0;
    QTest::newRow("tab") << QStringLiteral("\t1") << false << 0;
    QTest::newRow("NUL") << QStringLiteral("1") + QChar(0) << false << 0;
    QTest::newRow("Arabic-Indic digit") << QString(QChar(0x0661)) << false << 0;
}

void TestSammlung::ganzzahlLesen()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint32, wert);
    qint32 gelesen = 4711;
    QCOMPARE(GanzzahlLesen(text, gelesen), ok);
    QCOMPARE(gelesen, ok ? wert : 4711);
    QCOMPARE(GanzzahlOder(text, -99), ok ? wert : -99);
}

QTEST_GUILESS_MAIN(TestSammlung)
#include "tst_sammlung.moc"
