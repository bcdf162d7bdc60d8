#include "support/uOberflaeche.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPointer>
#include <QPalette>
#include <QProxyStyle>
#include <QTranslator>
#include <QWidget>

namespace {

// Set once per application object; a new one (tests make several) gets both again.
constexpr const char *Eingerichtet = "mqOberflaecheEingerichtet";
QTranslator *Uebersetzung = nullptr;

void SchriftSetzen()
{
    const QString familie = QString::fromLatin1(Anwendungsschrift);
    QFont schrift(familie, AnwendungsschriftPunkte);
    if (QFontInfo(schrift).family().compare(familie, Qt::CaseInsensitive) != 0) {
        qWarning("%s", qUtf8Printable(QStringLiteral("Schrift \"%1\" fehlt (Paket fonts-liberation, scripts/deps.sh): "
                                                     "die Fenster zeigen eine Ersatzschrift, Texte können "
                                                     "abgeschnitten sein.")
                                          .arg(familie)));
        // The closest fallback: a narrow sans of the same size.
        schrift.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
        schrift.setStyleHint(QFont::SansSerif);
    }
    // The message box asks for the design font by its old name.
    QFont::removeSubstitutions(QStringLiteral("MS Sans Serif"));
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), schrift.families());
    QApplication::setFont(schrift);
}

void UebersetzungLaden()
{
    const QString ordner = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *t = new QTranslator(QCoreApplication::instance());
    if (t->load(QStringLiteral("qtbase_de"), ordner) && QCoreApplication::installTranslator(t)) {
        Uebersetzung = t;
        QObject::connect(t, &QObject::destroyed, [] { Uebersetzung = nullptr; });
        return;
    }
    delete t;
    qWarning("%s", qUtf8Printable(QStringLiteral("Qt-Übersetzung qtbase_de.qm fehlt in %1 (Paket "
                                                 "qt6-translations-l10n, scripts/deps.sh): Qt-eigene "
                                                 "Dialoge bleiben englisch.")
                                      .arg(ordner)));
}

class KompaktStil : public QProxyStyle
{
public:
    static constexpr int Knopfbreite = 10;

    int pixelMetric(PixelMetric m, const QStyleOption *o = nullptr, const QWidget *w = nullptr) const override
    {
        // The text margin of a cell is this plus one.
        if (m == PM_FocusFrameHMargin)
            return 1;
        return QProxyStyle::pixelMetric(m, o, w);
    }

    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex *o, SubControl sc,
                         const QWidget *w = nullptr) const override
    {
        QRect r = QProxyStyle::subControlRect(cc, o, sc, w);
        if (cc != CC_SpinBox)
            return r;
        const QRect hoch = QProxyStyle::subControlRect(cc, o, SC_SpinBoxUp, w);
        const int weg = qMax(0, hoch.width() - Knopfbreite);
        if (sc == SC_SpinBoxUp || sc == SC_SpinBoxDown)
            r.setLeft(r.left() + weg);
        else if (sc == SC_SpinBoxEditField)
            r.setRight(r.right() + weg);
        return r;
    }
};

} // namespace

QStyle *KompakterStil()
{
    // It goes with the application object, after the windows that use it.
    static QPointer<KompaktStil> stil;
    if (!stil) {
        stil = new KompaktStil;
        stil->setParent(QCoreApplication::instance());
    }
    return stil;
}

void OberflaecheEinrichten()
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app || app->property(Eingerichtet).toBool())
        return;
    app->setProperty(Eingerichtet, true);
    SchriftSetzen();
    UebersetzungLaden();
}

bool QtUebersetzungGeladen()
{
    return Uebersetzung != nullptr;
}

namespace {

// The disabled text of labels, edits and buttons in one colour.
void DeaktivierteSchriftSetzen(QPalette &Palette, unsigned Farbe)
{
    for (QPalette::ColorRole rolle : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        Palette.setColor(QPalette::Disabled, rolle, QColor(QRgb(Farbe)));
}

} // namespace

void GesperrtDarstellen(QWidget *Gruppe, bool Gesperrt)
{
    if (!Gruppe)
        return;
    if (!Gesperrt) {
        Gruppe->setAutoFillBackground(false);
        Gruppe->setPalette(QPalette());
        return;
    }
    QPalette pal = Gruppe->palette();
    pal.setColor(QPalette::Window, QColor(QRgb(GesperrtGrund)));
    DeaktivierteSchriftSetzen(pal, GesperrtSchrift);
    // A selected cell keeps its text legible on the grey highlight.
    pal.setColor(QPalette::Disabled, QPalette::HighlightedText, Qt::black);
    Gruppe->setPalette(pal);
    Gruppe->setAutoFillBackground(true);
}

void DeaktiviertLesbar(QWidget *Fenster)
{
    QPalette pal = Fenster->palette();
    DeaktivierteSchriftSetzen(pal, DeaktiviertSchrift);
    Fenster->setPalette(pal);
}

void ModaleFensterAbbrechen()
{
    // Each one gone leaves the one below it in front; the bound stops at a window that stays.
    for (int i = 0; i < 64; ++i) {
        const QPointer<QWidget> fenster(QApplication::activeModalWidget());
        if (!fenster)
            return;
        if (qobject_cast<QMessageBox *>(fenster)) {
            // A box answers Esc with its cancel button, or with its only one.
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(fenster, &esc);
        }
        if (!fenster || !fenster->isVisible())
            continue;
        if (auto *dialog = qobject_cast<QDialog *>(fenster))
            dialog->reject();
        else
            fenster->close();
        // One that refused stays in front no longer.
        if (fenster && fenster->isVisible())
            fenster->hide();
    }
}
