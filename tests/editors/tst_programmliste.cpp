// The slot helpers of the program editors on a small record that keeps its wire text.

#include "editors/uProgrammListe.h"

#include <QtTest>

namespace {

struct Satz
{
    QString Nr;
    QString Text;
};

Satz AusText(const QString &t)
{
    return {t.left(1), t};
}

QString ZuText(const Satz &s)
{
    return s.Nr + QLatin1Char('/') + s.Text;
}

QStringList Texte(const TProgrammListe<Satz> &l)
{
    QStringList t;
    for (const Satz &s : l)
        t << s.Text;
    return t;
}

} // namespace

class TestProgrammListe : public QObject
{
    Q_OBJECT

private slots:
    // A received list is cut by position; what is missing at the end decodes the empty text,
    // what is left over is dropped.
    void ausText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("plaetze");
        const QStringList voll{"0a", "1b", "2c", "3d", "4e", "5f", "6g", "7h", "8i", "9j"};
        QTest::newRow("zehn") << voll.join(QString()) << voll;
        QTest::newRow("Überhang") << voll.join(QString()) + "XY" << voll;
        QTest::newRow("halber Eintrag") << "0a1b2"
                                        << QStringList{"0a", "1b", "2", "", "", "", "", "", "", ""};
        QTest::newRow("leer") << QString() << QStringList(10, QString());
    }
    void ausText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, plaetze);
        TProgrammListe<Satz> l;
        ListeAusText(l, text, 2, AusText);
        QCOMPARE(Texte(l), plaetze);
    }

    // Swapping and pasting number each slot by its row, whatever the record carried.
    void nummern()
    {
        TProgrammListe<Satz> l;
        for (int i = 0; i < 10; ++i)
            l[size_t(i)] = {QString::number(i + 1), QStringLiteral("p%1").arg(i + 1)};
        ListenPlaetzeTauschen(l, 2, 7);
        QCOMPARE(ZuText(l[1]), QStringLiteral("2/p7"));
        QCOMPARE(ZuText(l[6]), QStringLiteral("7/p2"));
        const Satz ablage{QStringLiteral("9"), QStringLiteral("kopie")};
        ListenPlatzEinfuegen(l, 10, ablage);
        QCOMPARE(ZuText(l[9]), QStringLiteral("10/kopie"));
        QCOMPARE(ablage.Nr, QStringLiteral("9"));
        const QStringList records = ListenRecords(l, ZuText);
        QCOMPARE(records.size(), 10);
        QCOMPARE(records.at(0), QStringLiteral("1/p1"));
        QCOMPARE(records.at(9), QStringLiteral("10/kopie"));
    }
};

QTEST_GUILESS_MAIN(TestProgrammListe)
#include "tst_programmliste.moc"
