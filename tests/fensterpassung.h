#pragma once

// Passungsfehler(Fenster): walks every visible widget of a shown window and returns one line per
// text that does not show whole - wider or taller than its room, reaching out of its parent, or
// overprinted by a sibling - naming the widget. Empty when everything fits.
//
// Checked: labels, push buttons, check boxes, radio buttons, group-box titles, line edits (also
// those inside spin boxes and combo boxes), combo boxes, tab texts, the cells and header sections
// of tables, trees and lists, and the entries of the menu bar. A widget lying wholly under an
// opaque sibling (a group box that fills its background, an edit, a list) is hidden, not cut,
// and is left out with everything inside it.

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QWidget>

namespace passung {

inline QString Kurz(const QString &Text)
{
    QString t = Text;
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return t.size() > 40 ? t.left(37) + QStringLiteral("...") : t;
}

// The widget's name: its objectName, else its class under the name of its parent.
inline QString Name(const QWidget *w)
{
    if (!w)
        return QStringLiteral("?");
    if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
        return w->objectName();
    const QString klasse = QString::fromLatin1(w->metaObject()->className());
    return w->parentWidget() ? Name(w->parentWidget()) + QLatin1Char('/') + klasse : klasse;
}

inline QString Groesse(QSize s)
{
    return QStringLiteral("%1 x %2").arg(s.width()).arg(s.height());
}

// Widgets built of Qt's own parts: their children are placed by them, not by the window.
inline bool Zusammengesetzt(const QWidget *w)
{
    return qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QAbstractSpinBox *>(w);
}

inline bool Innenteil(const QWidget *w)
{
    const QWidget *p = w->parentWidget();
    return w->objectName().startsWith(QLatin1String("qt_")) || (p && Zusammengesetzt(p))
        || qobject_cast<const QScrollBar *>(w);
}

inline QString ButtonText(const QAbstractButton *b)
{
    QString t = b->text();
    // '&' marks the mnemonic and takes no room; "&&" shows one '&'.
    t.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    t.remove(QLatin1Char('&'));
    t.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return t;
}

inline QStyleOptionButton KnopfOption(const QAbstractButton *b)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    opt.icon = b->icon();
    opt.iconSize = b->iconSize();
    return opt;
}

inline QStyleOptionGroupBox GruppenOption(const QGroupBox *g)
{
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.lineWidth = 1;
    opt.midLineWidth = 0;
    opt.textAlignment = Qt::Alignment(g->alignment());
    opt.subControls = QStyle::SC_GroupBoxFrame;
    if (g->isCheckable())
        opt.subControls |= QStyle::SC_GroupBoxCheckBox;
    if (!g->title().isEmpty())
        opt.subControls |= QStyle::SC_GroupBoxLabel;
    if (g->isFlat())
        opt.features |= QStyleOptionFrame::Flat;
    return opt;
}

// Where the widget draws its text, in its own coordinates; empty when it shows none.
inline QRect Textrechteck(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w)) {
        if (l->text().isEmpty())
            return {};
        const int m = l->margin();
        const QRect innen = l->contentsRect().adjusted(m, m, -m, -m);
        const bool reich = l->textFormat() == Qt::RichText
                        || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
        // A rich text's size is the label's wish less its frame and margins; a wrapped text
        // takes the lines it breaks into at the label's width.
        QSize noetig;
        if (reich)
            noetig = l->sizeHint() - (l->size() - innen.size());
        else if (l->wordWrap())
            noetig = l->fontMetrics()
                         .boundingRect(QRect(0, 0, innen.width(), 1 << 20), Qt::TextWordWrap | l->alignment(), l->text())
                         .size();
        else
            noetig = l->fontMetrics().size(0, l->text());
        return QStyle::alignedRect(l->layoutDirection(), l->alignment(), noetig, innen);
    }
    if (auto *b = qobject_cast<const QAbstractButton *>(w)) {
        if (b->text().isEmpty())
            return {};
        const QStyleOptionButton opt = KnopfOption(b);
        QStyle::SubElement teil;
        if (qobject_cast<const QCheckBox *>(b))
            teil = QStyle::SE_CheckBoxContents;
        else if (qobject_cast<const QRadioButton *>(b))
            teil = QStyle::SE_RadioButtonContents;
        else
            return b->rect();
        const QRect innen = b->style()->subElementRect(teil, &opt, b);
        QSize noetig = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
        if (!b->icon().isNull())
            noetig.rwidth() += b->iconSize().width() + 4;
        return QStyle::alignedRect(b->layoutDirection(), Qt::AlignLeft | Qt::AlignVCenter, noetig, innen);
    }
    if (auto *g = qobject_cast<const QGroupBox *>(w)) {
        if (g->title().isEmpty())
            return {};
        const QStyleOptionGroupBox opt = GruppenOption(g);
        return g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    }
    return {};
}

// Widgets that draw over their whole area: their box counts as their text.
inline bool Kasten(const QWidget *w)
{
    return qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QLineEdit *>(w)
        || qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QPushButton *>(w) || qobject_cast<const QProgressBar *>(w)
        || qobject_cast<const QTabBar *>(w) || qobject_cast<const QMenuBar *>(w);
}

// Widgets that hide what lies under them.
inline bool Deckend(const QWidget *w)
{
    return Kasten(w) || w->autoFillBackground() || w->testAttribute(Qt::WA_OpaquePaintEvent);
}

// Where the widget itself shows text, in its own coordinates.
inline QRect Textflaeche(const QWidget *w)
{
    return Kasten(w) ? w->rect() : Textrechteck(w);
}

// The visible text of a widget, for the messages.
inline QString Text(const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return ButtonText(b);
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->displayText();
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return c->currentText();
    return {};
}

inline void Zuklein(QStringList &Fehler, const QWidget *w, const QString &was, const QString &text, QSize noetig, QSize platz)
{
    Fehler << QStringLiteral("%1: %2 \"%3\" braucht %4 px, hat %5 px")
                  .arg(Name(w), was, Kurz(text), Groesse(noetig), Groesse(platz));
}

inline void PruefePlatz(QStringList &Fehler, const QSize &noetig, const QSize &platz, const QWidget *w, const QString &was,
                        const QString &text)
{
    if (noetig.width() > platz.width() || noetig.height() > platz.height())
        Zuklein(Fehler, w, was, text, noetig, platz);
}

inline void PruefeLabel(QStringList &Fehler, const QLabel *l)
{
    if (l->text().isEmpty() || l->hasScaledContents())
        return;
    const int m = l->margin();
    const QRect innen = l->contentsRect().adjusted(m, m, -m, -m);
    QSize noetig;
    if (l->wordWrap()) {
        // A wrapped text may break between words, not inside one.
        const QSize rand = l->size() - innen.size();
        noetig = QSize(l->minimumSizeHint().width() - rand.width(), l->heightForWidth(l->width()) - rand.height());
    } else {
        noetig = Textrechteck(l).size();
    }
    PruefePlatz(Fehler, noetig, innen.size(), l, QStringLiteral("Text"), l->text());
}

inline void PruefeKnopf(QStringList &Fehler, const QAbstractButton *b)
{
    if (b->text().isEmpty())
        return;
    const QStyleOptionButton opt = KnopfOption(b);
    QSize noetig = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    if (!b->icon().isNull())
        noetig = QSize(noetig.width() + b->iconSize().width() + 4, qMax(noetig.height(), b->iconSize().height()));
    QRect innen;
    if (qobject_cast<const QCheckBox *>(b))
        innen = b->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, b);
    else if (qobject_cast<const QRadioButton *>(b))
        innen = b->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, b);
    else if (qobject_cast<const QPushButton *>(b))
        innen = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    else
        innen = b->contentsRect();
    innen &= b->rect();
    PruefePlatz(Fehler, noetig, innen.size(), b, QStringLiteral("Text"), ButtonText(b));
}

inline void PruefeGruppe(QStringList &Fehler, const QGroupBox *g)
{
    if (g->title().isEmpty())
        return;
    const QRect titel = Textrechteck(g);
    const QSize noetig(g->fontMetrics().horizontalAdvance(g->title()), g->fontMetrics().height());
    const QRect sichtbar = titel & g->rect();
    if (!g->rect().contains(titel) || sichtbar.width() < noetig.width())
        Zuklein(Fehler, g, QStringLiteral("Titel"), g->title(), noetig, sichtbar.size());
    // Children lying on the title hide it.
    for (QObject *o : g->children()) {
        auto *k = qobject_cast<QWidget *>(o);
        if (k && !k->isHidden() && !k->isWindow() && k->geometry().intersects(titel))
            Fehler << QStringLiteral("%1: liegt auf dem Titel \"%2\" von %3").arg(Name(k), Kurz(g->title()), Name(g));
    }
}

inline void PruefeZeile(QStringList &Fehler, const QLineEdit *e)
{
    const QString text = e->displayText();
    if (text.isEmpty())
        return;
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.rect = e->rect();
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    // The edit's own inner margins: 2 px left and right, 1 px above and below.
    const QRect innen = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e)
                            .marginsRemoved(e->textMargins())
                            .adjusted(2, 1, -2, -1);
    const QSize noetig(e->fontMetrics().horizontalAdvance(text) + 1, e->fontMetrics().height());
    PruefePlatz(Fehler, noetig, innen.size(), e, QStringLiteral("Wert"), text);
}

inline void PruefeAuswahl(QStringList &Fehler, const QComboBox *c)
{
    if (c->isEditable() || c->currentText().isEmpty())
        return;
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = false;
    opt.frame = c->hasFrame();
    opt.currentText = c->currentText();
    opt.subControls = QStyle::SC_All;
    const QRect feld = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    QSize noetig(c->fontMetrics().horizontalAdvance(c->currentText()), c->fontMetrics().height());
    if (!c->itemIcon(c->currentIndex()).isNull())
        noetig.rwidth() += c->iconSize().width() + 4;
    PruefePlatz(Fehler, noetig, feld.size(), c, QStringLiteral("Wert"), c->currentText());
}

inline void PruefeKopf(QStringList &Fehler, const QHeaderView *h)
{
    const QAbstractItemModel *m = h->model();
    if (!m)
        return;
    const int rand = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    const int n = h->count();
    for (int i = 0; i < n; ++i) {
        const int logisch = h->logicalIndex(i);
        if (h->isSectionHidden(logisch))
            continue;
        const QString text = m->headerData(logisch, h->orientation(), Qt::DisplayRole).toString();
        if (text.isEmpty())
            continue;
        QFont schrift = h->font();
        const QVariant f = m->headerData(logisch, h->orientation(), Qt::FontRole);
        if (f.canConvert<QFont>())
            schrift = qvariant_cast<QFont>(f);
        const QFontMetrics fm(schrift);
        const QSize noetig = fm.size(0, text) + QSize(2 * rand, 2 * rand);
        const QSize platz = h->orientation() == Qt::Horizontal ? QSize(h->sectionSize(logisch), h->height())
                                                               : QSize(h->width(), h->sectionSize(logisch));
        PruefePlatz(Fehler, noetig, platz, h, QStringLiteral("Spaltenkopf %1").arg(logisch), text);
    }
}

// The view's own item options, as it lays its items out with them.
struct AnsichtZugang : QAbstractItemView
{
    using QAbstractItemView::initViewItemOption;
};

inline QStyleOptionViewItem Ansichtsoption(const QAbstractItemView *v)
{
    QStyleOptionViewItem opt;
    (v->*(&AnsichtZugang::initViewItemOption))(&opt);
    return opt;
}

inline void PruefeZellen(QStringList &Fehler, const QAbstractItemView *v)
{
    const QAbstractItemModel *m = v->model();
    if (!m || qobject_cast<const QHeaderView *>(v))
        return;
    const QRect sicht = v->viewport()->rect();
    const bool waagerecht = v->horizontalScrollBar()->isVisible();
    const bool senkrecht = v->verticalScrollBar()->isVisible();
    const int zeilen = qMin(m->rowCount(v->rootIndex()), 2000);
    const int spalten = qMin(m->columnCount(v->rootIndex()), 200);
    for (int z = 0; z < zeilen; ++z) {
        for (int s = 0; s < spalten; ++s) {
            const QModelIndex i = m->index(z, s, v->rootIndex());
            const QRect r = v->visualRect(i);
            if (!r.isValid() || !r.intersects(sicht))
                continue;
            const QString text = i.data(Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            QStyleOptionViewItem opt = Ansichtsoption(v);
            opt.rect = r;
            QAbstractItemDelegate *d = v->itemDelegateForIndex(i);
            if (!d)
                continue;
            const QSize noetig = d->sizeHint(opt, i);
            const QString wo = QStringLiteral("Zelle (%1, %2)").arg(z).arg(s);
            // Text wider than the cell is cut; so is a cell that the view cuts and cannot scroll to.
            if (noetig.width() > r.width() || noetig.height() > r.height()) {
                Zuklein(Fehler, v, wo, text, noetig, r.size());
            } else if ((!waagerecht && (r.right() > sicht.right() || r.left() < sicht.left()))
                       || (!senkrecht && (r.bottom() > sicht.bottom() || r.top() < sicht.top()))) {
                Zuklein(Fehler, v, wo, text, r.size(), (r & sicht).size());
            }
        }
    }
}

inline void PruefeReiter(QStringList &Fehler, const QTabBar *t)
{
    const int rand = t->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, t) / 2;
    for (int i = 0; i < t->count(); ++i) {
        if (!t->isTabVisible(i) || t->tabText(i).isEmpty())
            continue;
        const QRect r = t->tabRect(i);
        QSize noetig = t->fontMetrics().size(Qt::TextShowMnemonic, t->tabText(i)) + QSize(2 * rand, 0);
        if (!t->tabIcon(i).isNull())
            noetig.rwidth() += t->iconSize().width() + 4;
        PruefePlatz(Fehler, noetig, r.size(), t, QStringLiteral("Reiter %1").arg(i), t->tabText(i));
        if (!t->rect().contains(r) && !t->usesScrollButtons())
            Zuklein(Fehler, t, QStringLiteral("Reiter %1").arg(i), t->tabText(i), r.size(), (r & t->rect()).size());
    }
}

inline void PruefeMenue(QStringList &Fehler, const QMenuBar *mb)
{
    for (QAction *a : mb->actions()) {
        if (!a->isVisible() || a->text().isEmpty())
            continue;
        const QRect r = mb->actionGeometry(a);
        QString text = a->text();
        text.remove(QLatin1Char('&'));
        const QSize noetig = mb->fontMetrics().size(0, text);
        if (!mb->rect().contains(r) || r.width() < noetig.width())
            Zuklein(Fehler, mb, QStringLiteral("Menü"), text, noetig, (r & mb->rect()).size());
    }
}

inline void PruefeEinzeln(QStringList &Fehler, const QWidget *w)
{
    if (auto *l = qobject_cast<const QLabel *>(w))
        PruefeLabel(Fehler, l);
    else if (auto *b = qobject_cast<const QAbstractButton *>(w))
        PruefeKnopf(Fehler, b);
    else if (auto *g = qobject_cast<const QGroupBox *>(w))
        PruefeGruppe(Fehler, g);
    else if (auto *e = qobject_cast<const QLineEdit *>(w))
        PruefeZeile(Fehler, e);
    else if (auto *c = qobject_cast<const QComboBox *>(w))
        PruefeAuswahl(Fehler, c);
    else if (auto *h = qobject_cast<const QHeaderView *>(w))
        PruefeKopf(Fehler, h);
    else if (auto *v = qobject_cast<const QAbstractItemView *>(w))
        PruefeZellen(Fehler, v);
    else if (auto *t = qobject_cast<const QTabBar *>(w))
        PruefeReiter(Fehler, t);
    else if (auto *mb = qobject_cast<const QMenuBar *>(w))
        PruefeMenue(Fehler, mb);
}

struct Textstelle
{
    const QWidget *w;
    QRect r; // in the coordinates of the sibling's parent
};

// The texts a widget and its visible descendants show, in Bezug's coordinates.
inline void Textstellen(const QWidget *w, const QWidget *Bezug, QList<Textstelle> &Stellen)
{
    const QRect t = Textflaeche(w);
    if (!t.isEmpty())
        Stellen << Textstelle{w, QRect(w->mapTo(Bezug, t.topLeft()), t.size())};
    if (Kasten(w))
        return;
    for (QObject *o : w->children()) {
        auto *k = qobject_cast<QWidget *>(o);
        if (k && !k->isHidden() && !k->isWindow())
            Textstellen(k, Bezug, Stellen);
    }
}

// Siblings: texts that reach out of their parent, and texts that a sibling above covers or
// overprints. Returns the children that lie wholly under an opaque sibling.
inline QList<const QWidget *> PruefeGeschwister(QStringList &Fehler, const QWidget *Eltern)
{
    QList<const QWidget *> kinder;
    for (QObject *o : Eltern->children()) {
        auto *k = qobject_cast<QWidget *>(o);
        if (k && !k->isHidden() && !k->isWindow() && !Innenteil(k))
            kinder << k; // bottom to top
    }
    QList<const QWidget *> verdeckt;
    for (int i = 0; i < kinder.size(); ++i) {
        for (int j = i + 1; j < kinder.size(); ++j) {
            if (Deckend(kinder[j]) && kinder[j]->geometry().contains(kinder[i]->geometry())) {
                verdeckt << kinder[i];
                break;
            }
        }
    }
    const QRect innen = Eltern->rect();
    for (int i = 0; i < kinder.size(); ++i) {
        const QWidget *a = kinder[i];
        if (verdeckt.contains(a))
            continue;
        const QRect ta = Textflaeche(a).translated(a->pos());
        if (!ta.isEmpty() && !innen.contains(ta))
            Fehler << QStringLiteral("%1: \"%2\" ragt aus %3 heraus").arg(Name(a), Kurz(Text(a)), Name(Eltern));
        QList<Textstelle> unten;
        Textstellen(a, Eltern, unten);
        for (int j = i + 1; j < kinder.size(); ++j) {
            const QWidget *b = kinder[j];
            if (verdeckt.contains(b))
                continue;
            // What b hides of a (its whole area when opaque), and the texts b prints over a.
            QList<Textstelle> oben;
            if (Deckend(b))
                oben << Textstelle{b, b->geometry()};
            else
                Textstellen(b, Eltern, oben);
            for (const Textstelle &x : unten) {
                for (const Textstelle &y : oben) {
                    if (x.r.intersects(y.r))
                        Fehler << QStringLiteral("%1 \"%2\" und %3 \"%4\" überdecken sich")
                                      .arg(Name(x.w), Kurz(Text(x.w)), Name(y.w), Kurz(Text(y.w)));
                }
            }
        }
    }
    return verdeckt;
}

inline void Durchlaufen(QStringList &Fehler, const QWidget *w)
{
    PruefeEinzeln(Fehler, w);
    const QList<const QWidget *> verdeckt = PruefeGeschwister(Fehler, w);
    for (QObject *o : w->children()) {
        auto *k = qobject_cast<QWidget *>(o);
        if (!k || k->isHidden() || k->isWindow() || verdeckt.contains(k))
            continue;
        Durchlaufen(Fehler, k);
    }
}

} // namespace passung

inline QStringList Passungsfehler(QWidget *Fenster)
{
    QStringList fehler;
    if (!Fenster || !Fenster->isVisible()) {
        fehler << QStringLiteral("%1: Fenster nicht gezeigt").arg(passung::Name(Fenster));
        return fehler;
    }
    passung::Durchlaufen(fehler, Fenster);
    fehler.removeDuplicates();
    return fehler;
}
