// The file dialog made from a dialog description: filters, default extension, start folder,
// overwrite question; cancelled gives no path.

#include "support/uOberflaeche.h"
#include "support/uDateiDialog.h"
#include "dialogtippen.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestDateiDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        OberflaecheEinrichten();
    }

    void filter()
    {
        QCOMPARE(QtFilter(QStringLiteral("Quorvel Gär-Record (*.QGR)|*.QGR|Alle Dateien (*.*)|*.*")),
                 QStringList({"Quorvel Gär-Record (*.QGR)", "Alle Dateien (*.*)"}));
        // A description without its pattern gets it in brackets; an odd last part is dropped.
        QCOMPARE(QtFilter(QStringLiteral("Programme|*.QGP|Rest")), QStringList{"Programme (*.QGP)"});
        QCOMPARE(QtFilter(QString()), QStringList());
    }

    // The modal dialog as the description sets it up; cancelled or accepted.
    void dialog_data()
    {
        QTest::addColumn<bool>("speichern");
        QTest::addColumn<bool>("annehmen");
        QTest::newRow("Speichern abgebrochen") << true << false;
        QTest::newRow("Speichern") << true << true;
        QTest::newRow("Öffnen") << false << true;
    }
    void dialog()
    {
        QFETCH(bool, speichern);
        QFETCH(bool, annehmen);
        QTemporaryDir dir;
        TDateiDialog d;
        d.Name = speichern ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1");
        d.Speichern = speichern;
        d.Filter = QStringLiteral("Quorvel Gär-Record (*.QGR)|*.QGR|Alle Dateien (*.*)|*.*");
        d.Endung = QStringLiteral("*.QGR");
        d.Ordner = dir.path();
        d.Dateiname = QStringLiteral("GaerPrgRecord");
        if (!speichern) {
            QFile f(dir.filePath(QStringLiteral("GaerPrgRecord.QGR")));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }

        QFileDialog *gesehen = nullptr;
        QFileDialog::AcceptMode modus{};
        QString endung, name;
        QStringList filter;
        bool fragt = false;
        QString ordner;
        QTimer::singleShot(0, this, [&] {
            gesehen = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!gesehen)
                return;
            modus = gesehen->acceptMode();
            endung = gesehen->defaultSuffix();
            name = gesehen->objectName();
            filter = gesehen->nameFilters();
            fragt = !gesehen->testOption(QFileDialog::DontConfirmOverwrite);
            ordner = gesehen->directory().absolutePath();
            if (annehmen)
                QMetaObject::invokeMethod(gesehen, "accept");
            else
                gesehen->reject();
        });
        const QString pfad = DateiWaehlen(nullptr, d);
        QVERIFY(gesehen);
        QCOMPARE(name, d.Name);
        QCOMPARE(modus, speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QCOMPARE(endung, QStringLiteral("QGR"));
        QCOMPARE(filter, QStringList({"Quorvel Gär-Record (*.QGR)", "Alle Dateien (*.*)"}));
        QVERIFY(fragt);
        QCOMPARE(ordner, QDir(dir.path()).absolutePath());
        QCOMPARE(pfad, annehmen ? dir.filePath(QStringLiteral("GaerPrgRecord.QGR")) : QString());
    }

    // A name typed into the open dialog is returned whether or not its file exists; the
    // default extension is added to a name typed without one.
    void oeffnenGetippt_data()
    {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<bool>("vorhanden");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("missing file") << "Fehlt.QGR" << false << "Fehlt.QGR";
        QTest::newRow("missing, no extension") << "Fehlt" << false << "Fehlt.QGR";
        QTest::newRow("existing file") << "Da.QGR" << true << "Da.QGR";
    }
    void oeffnenGetippt()
    {
        QFETCH(QString, getippt);
        QFETCH(bool, vorhanden);
        QFETCH(QString, erwartet);
        QTemporaryDir dir;
        if (vorhanden) {
            QFile f(dir.filePath(getippt));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        TDateiDialog d;
        d.Name = QStringLiteral("OpenDialog1");
        d.Filter = QStringLiteral("Quorvel Gär-Record (*.QGR)|*.QGR|Alle Dateien (*.*)|*.*");
        d.Endung = QStringLiteral("*.QGR");
        d.Ordner = dir.path();

        bool getippt_ = false;
        NameEintippen(this, getippt, getippt_);
        const QString pfad = DateiWaehlen(nullptr, d);
        QVERIFY(getippt_);
        QCOMPARE(pfad, dir.filePath(erwartet));
    }
};

QTEST_MAIN(TestDateiDialog)
#include "tst_dateidialog.moc"
