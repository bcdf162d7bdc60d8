// mq-bench-nivorell: times one full repaint of the Nivorell graph (geometry and painting into
// an image, as the paint event does) at the editor's design size 531 x 280 and at 1920 x 1080,
// and the reading and decoding of a list file of ten Nivorell programs. Prints figures only.

#include "editors/uNivorellGrafik.h"
#include "editors/uProgrammDatei.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

TQorNivorell Programm(int Nr)
{
    TQorNivorell p;
    p.Nr = QString::number(Nr);
    const int werte[4][3] = {{8, 80, 30}, {20, 80, 30}, {20, 80, 180}, {4, 80, 360}};
    for (int k = 0; k < 8; ++k) {
        TQorProgElement &s = p.Schritte[size_t(k)];
        s.Temp = QString::number(k < 4 ? werte[k][0] + Nr : 4);
        s.Feu = QString::number(k < 4 ? werte[k][1] - Nr : 80);
        s.Zeit = k < 4 ? QString::number(werte[k][2]) : QStringLiteral("0");
    }
    return p;
}

struct Zeiten
{
    double median = 0, kleinste = 0, groesste = 0;
};

template <typename F>
Zeiten Messen(int Runden, F f)
{
    std::vector<double> ms;
    ms.reserve(size_t(Runden));
    for (int i = 0; i < Runden; ++i) {
        QElapsedTimer uhr;
        uhr.start();
        f();
        ms.push_back(double(uhr.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

void Zeile(const char *Was, const Zeiten &z)
{
    std::printf("%-34s median %7.3f ms   min %7.3f ms   max %7.3f ms\n", Was, z.median, z.kleinste, z.groesste);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QFont schrift = GrafikSchrift();
    const TQorNivorell prog = Programm(1);
    constexpr int Runden = 200;

    for (const QSize groesse : {QSize(531, 280), QSize(1920, 1080)}) {
        QImage bild(groesse, QImage::Format_RGB32);
        // A warm-up, so that the font caches are filled as in a running editor.
        NivorellAchsen a;
        {
            QPainter m(&bild);
            GrafikMalen(m, GrafikBerechnen(prog, groesse, a, schrift), schrift);
        }
        const Zeiten z = Messen(Runden, [&] {
            QPainter m(&bild);
            GrafikMalen(m, GrafikBerechnen(prog, groesse, a, schrift), schrift);
        });
        const QByteArray was = QStringLiteral("repaint %1 x %2").arg(groesse.width()).arg(groesse.height()).toLatin1();
        Zeile(was.constData(), z);
    }

    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("bench.NVR"));
    std::array<TQorNivorell, 10> liste;
    for (int i = 0; i < 10; ++i)
        liste[size_t(i)] = Programm(i + 1);
    QString fehler;
    if (!ProgrammDateiSchreiben(pfad, NivorellListeZeilen(liste), fehler)) {
        std::fprintf(stderr, "%s\n", qPrintable(fehler));
        return 1;
    }
    std::array<TQorNivorell, 10> gelesen;
    const Zeiten z = Messen(Runden, [&] { NivorellListeLesen(pfad, gelesen, fehler); });
    if (gelesen != liste) {
        std::fprintf(stderr, "list file read back differs\n");
        return 1;
    }
    Zeile("read + decode list file (10)", z);
    return 0;
}
