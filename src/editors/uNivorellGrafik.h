#pragma once

// The Nivorell graph: temperature (red, left axis) and humidity (blue, right axis) of one
// program over the time of its steps. GrafikBerechnen works out everything the drawing needs
// without any widget; GrafikMalen only paints the result.

#include "controller/uQuorvelKonstanten.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

#include <array>

class QPainter;

// Axis ranges of the graph. They start at these values and only ever widen.
struct NivorellAchsen
{
    qint64 TMax = 50;
    qint64 TMin = -30;
    qint64 FMax = 80;
    qint64 FMin = 0;
};

// The graph's captions.
struct NivorellGrafikTexte
{
    QString Temperatur = QStringLiteral("Temperatur in °C");
    QString Feuchte = QStringLiteral("rel.Feuchte in %");
    QString Phase = QStringLiteral("Phase");
    QString Std = QStringLiteral("Std");
};

// What a drawn element is; the painter does not care, the tests and readers do.
enum class GrafikRolle {
    Achse,          // temperature axis and time axis, one line through three points
    ObereKante,     // top edge of the plot
    ZeitStrich,
    ZeitZahl,
    Einheit,        // "Std"
    TempTitel,
    TempStrich,
    TempZahl,
    FeuchteTitel,
    FeuchteStrich,
    FeuchteZahl,
    Trenner,        // step separator
    PhasenText,
    TempKurve,
    FeuchteKurve,
    Meldung,        // the two lines for a program that cannot be drawn
};

// One line (two or three points) or one text with its top-left corner at Punkte[0].
struct GrafikElement
{
    GrafikRolle Rolle = GrafikRolle::Achse;
    QList<QPoint> Punkte;
    QColor Farbe;
    int Breite = 2;        // pen width of a line
    QString Text;          // empty for a line
    int Schriftpixel = 0;  // text height in pixels; 0 = the graph's font as given
    bool istText() const { return !Text.isEmpty(); }
};

// The whole drawing of one program in one paint-box size.
struct NivorellGrafik
{
    QSize Groesse;
    bool Interpretierbar = true;
    long double PxProMinute = 0;
    long double PxProGrad = 0;
    long double PxProProzent = 0;
    int PlotLinks = 0, PlotUnten = 0, PlotRechts = 0, PlotOben = 0;
    NivorellAchsen Achsen;                 // the ranges the drawing used
    std::array<int, 9> PhasenX{};
    std::array<int, 9> TempY{};
    std::array<int, 9> FeuchteY{};
    qint64 GesamtMinuten = 0;
    int LetzteStufe = 0;
    QList<GrafikElement> Elemente;         // in painting order, after filling the box white

    QList<GrafikElement> mit(GrafikRolle Rolle) const;
};

// Pixel height of the not-interpretable message (20 points on a 96 dpi surface).
inline constexpr int MeldungSchriftpixel = 27;

inline const QColor GrafikRot{255, 0, 0};
inline const QColor GrafikBlau{0, 0, 255};
inline const QColor GrafikGrau{136, 136, 136};

// The drawing of Prog in a paint box of the given size. Achsen is widened by the program's
// drawn steps and the result keeps a copy. Text sizes are measured in Schrift.
NivorellGrafik GrafikBerechnen(const TQorNivorell &Prog, QSize Flaeche, NivorellAchsen &Achsen,
                               const QFont &Schrift, const QColor &Stift = Qt::black,
                               const NivorellGrafikTexte &Texte = {});

// Fills the box white and paints every element; texts on an opaque white ground.
void GrafikMalen(QPainter &Maler, const NivorellGrafik &Grafik, const QFont &Schrift);

// The graph's font: the application font at 11 pixels.
QFont GrafikSchrift();
