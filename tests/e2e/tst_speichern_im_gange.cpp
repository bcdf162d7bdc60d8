// The built program started while another program or a person saves the shared settings file
// in place: the save empties the file first and writes its text a moment later, or writes part
// of it and pauses. Whenever the save comes during the start, every section of the saved text
// is in the file afterwards.

#include "fremdschreiber.h"
#include "programmstart.h"
#include "support/dateihilfen.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArrayList Abschnittsnamen(const QByteArray &Text)
{
    QByteArrayList namen;
    for (const QByteArray &z : Text.split('\n'))
        if (z.startsWith('[') && z.trimmed().endsWith(']'))
            namen << z.trimmed().mid(1, z.trimmed().size() - 2);
    return namen;
}

} // namespace

class TestSpeichernImGange : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;
    QString mProg;
    QString mIni;
    QByteArray mGespeichert; // the text the save writes

    QString store() const { return mDir.filePath(QStringLiteral("store")); }

    // Saves mGespeichert into the file in place: emptied first, then the first Teil bytes, then
    // after PauseMs the rest; the file stays open for writing meanwhile.
    void imOrtSpeichern(qsizetype Teil, int PauseMs) const
    {
        const int fd = ::open(QFile::encodeName(mIni).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0)
            return;
        bool ok = ::write(fd, mGespeichert.constData(), size_t(Teil)) == Teil;
        ::usleep(useconds_t(PauseMs) * 1000);
        ok = ok && ::write(fd, mGespeichert.constData() + Teil, size_t(mGespeichert.size() - Teil))
                       == mGespeichert.size() - Teil;
        ::close(fd);
        if (!ok)
            qWarning("Speichern unvollständig");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        mProg = mDir.filePath(QStringLiteral("prog"));
        mIni = mProg + QStringLiteral("/Solvanor2004.INI");
        QVERIFY(ProgrammKopieren(mProg));
        auto erster = ProgrammStarten(mProg + QStringLiteral("/MiniQuorvel"), store());
        QCOMPARE(ProgrammBeenden(*erster), QString());
        // As a person or another program keeps it: its own values and sections, in the form
        // the program writes back.
        mGespeichert = DateiInhalt(mIni);
        QVERIFY(mGespeichert.contains("ShowTextTime=3000\r\n"));
        mGespeichert.replace("ShowTextTime=3000\r\n", "ShowTextTime=1234\r\n");
        mGespeichert.replace("[LX2100-Server]\r\n\r\n", "[LX2100-Server]\r\nServeradresse=backstube-1\r\nServerport=5020\r\n\r\n");
        mGespeichert.replace("[KVD]\r\n\r\n", "[KVD]\r\nAktiv=1\r\nAnzahl=4\r\n\r\n");
        mGespeichert += "[Backstube]\r\nOfen1=Quorvel\r\nOfen2=Nivorell\r\n\r\n";
        QVERIFY(Abschnittsnamen(mGespeichert).size() >= 16);
    }

    void speichernWaehrendDesStarts_data()
    {
        QTest::addColumn<QString>("art");
        // The first start's save comes at once, the others after the start's first write-back,
        // each a few milliseconds later than the one before.
        QTest::addColumn<int>("starts");
        QTest::newRow("held open empty for a second") << "halten" << 2;
        QTest::newRow("shell redirect") << "shell" << 10;
        QTest::newRow("pause of 20 ms after emptying") << "pause" << 10;
        QTest::newRow("part written, then a pause") << "teil" << 6;
    }
    void speichernWaehrendDesStarts()
    {
        QFETCH(QString, art);
        QFETCH(int, starts);
        const QString quelle = mDir.filePath(QStringLiteral("gespeichert.INI"));
        QVERIFY(DateiAnlegen(quelle, mGespeichert));
        for (int start = 0; start < starts; ++start) {
            QVERIFY(DateiAnlegen(mIni, mGespeichert));
            struct stat vorher{};
            QCOMPARE(::stat(QFile::encodeName(mIni).constData(), &vorher), 0);
            const int nachMs = (start - 1) * 7;
            std::thread speichern;
            const auto losSpeichern = [&] {
                speichern = std::thread([&, nachMs] {
                    // A write-back puts a new file in place.
                    struct stat jetzt = vorher;
                    for (int i = 0; nachMs >= 0 && i < 20000 && jetzt.st_ino == vorher.st_ino; ++i) {
                        ::usleep(500);
                        ::stat(QFile::encodeName(mIni).constData(), &jetzt);
                    }
                    ::usleep(useconds_t(qMax(nachMs, 0)) * 1000);
                    if (art == QLatin1String("halten"))
                        imOrtSpeichern(0, 1000);
                    else if (art == QLatin1String("pause"))
                        imOrtSpeichern(0, 20);
                    else if (art == QLatin1String("teil"))
                        imOrtSpeichern(mGespeichert.size() / 3, 300);
                    else {
                        const QByteArray befehl = "cat '" + QFile::encodeName(quelle) + "' > '" + QFile::encodeName(mIni) + "'";
                        if (std::system(befehl.constData()) != 0)
                            qWarning("Shell-Umleitung gescheitert");
                    }
                });
            };
            auto programm = ProgrammStarten(mProg + QStringLiteral("/MiniQuorvel"), store());
            losSpeichern();
            const QString ende = ProgrammBeenden(*programm);
            speichern.join();
            QVERIFY2(ende.isEmpty(), qPrintable(ende + QLatin1Char('\n') + QString::fromLocal8Bit(programm->readAll())));

            const QByteArray danach = DateiInhalt(mIni);
            for (const QByteArray &name : Abschnittsnamen(mGespeichert))
                QVERIFY2(Fremdschreiber::Abschnitt(danach, name) == Fremdschreiber::Abschnitt(mGespeichert, name),
                         qPrintable(QStringLiteral("Start %1 (%2): [%3] fehlt oder ist verändert:\n%4")
                                        .arg(start)
                                        .arg(nachMs < 0 ? QStringLiteral("gleich beim Start")
                                                        : QStringLiteral("%1 ms nach dem ersten Zurückschreiben").arg(nachMs))
                                        .arg(QString::fromLatin1(name), QString::fromLatin1(danach.right(800)))));
            QVERIFY2(Fremdschreiber::Abschnitt(danach, "Messages").contains(QStringLiteral("ShowTextTime=1234")),
                     qPrintable(QString::fromLatin1(danach.right(800))));
        }
    }
};

QTEST_GUILESS_MAIN(TestSpeichernImGange)
#include "tst_speichern_im_gange.moc"
