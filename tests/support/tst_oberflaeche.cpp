#include "support/uOberflaeche.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
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
