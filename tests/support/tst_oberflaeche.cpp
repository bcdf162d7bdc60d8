#include "fensterpassung.h"
#include "support/uOberflaeche.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

// Application font and Qt's German texts, as the project's set-up installs them.
class TestOberflaeche : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { OberflaecheEinrichten(); }

    // The installed font itself, not a substitute, at the design size.
    void schrift()
    {
        const QFontInfo info(QApplication::font());
        QCOMPARE(info.family(), QString::fromLatin1(Anwendungsschrift));
        QCOMPARE(info.pointSize(), AnwendungsschriftPunkte);
        QLabel label;
        QCOMPARE(QFontInfo(label.font()).family(), QString::fromLatin1(Anwendungsschrift));
        // The message box's old font name leads to the same font.
        QCOMPARE(QFontInfo(QFont(QStringLiteral("MS Sans Serif"), 8)).family(), QString::fromLatin1(Anwendungsschrift));
    }

    // Qt's own buttons and dialogs speak German.
    void deutscheTexte()
    {
        QVERIFY(QtUebersetzungGeladen());
        QDialogButtonBox knoepfe(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save);
        QCOMPARE(knoepfe.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(knoepfe.button(QDialogButtonBox::Save)->text(), QStringLiteral("Speichern"));

        QFileDialog dialog(nullptr, QStringLiteral("Speichern unter"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        auto *suchen = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
        QVERIFY(suchen);
        QCOMPARE(suchen->text(), QStringLiteral("Suchen in:"));
    }

    // Five digits in a 47-wide spin edit and "EndZeit" in a 37-wide grid column fit only with
    // the compact style.
    void kompakterStil_data()
    {
        QTest::addColumn<bool>("kompakt");
        QTest::newRow("application style") << false;
        QTest::newRow("compact style") << true;
    }
    void kompakterStil()
    {
        QFETCH(bool, kompakt);
        QWidget fenster;
        auto *spin = new QSpinBox(&fenster);
        spin->setObjectName(QStringLiteral("Spin"));
        spin->setRange(0, 99999);
        spin->setValue(65535);
        spin->setGeometry(8, 8, 47, 20);
        auto *gitter = new QTableWidget(2, 1, &fenster);
        gitter->setObjectName(QStringLiteral("Gitter"));
        gitter->horizontalHeader()->hide();
        gitter->verticalHeader()->hide();
        gitter->setColumnWidth(0, 37);
        gitter->setItem(0, 0, new QTableWidgetItem(QStringLiteral("EndZeit")));
        gitter->setGeometry(8, 40, 60, 60);
        if (kompakt) {
            spin->setStyle(KompakterStil());
            gitter->setStyle(KompakterStil());
        }
        fenster.resize(120, 120);
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        const QString bericht = Passungsfehler(&fenster).join(QLatin1Char('\n'));
        QCOMPARE(bericht.contains(QStringLiteral("Spin")), !kompakt);
        QCOMPARE(bericht.contains(QStringLiteral("Gitter")), !kompakt);
        QVERIFY2(!kompakt || bericht.isEmpty(), qPrintable(bericht));
    }

    // A second call neither installs the translation twice nor changes the font.
    void zweiterAufruf()
    {
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        OberflaecheEinrichten();
        QCOMPARE(QApplication::font().pointSize(), 12);
        QVERIFY(QtUebersetzungGeladen());
    }
};

QTEST_MAIN(TestOberflaeche)
#include "tst_oberflaeche.moc"
