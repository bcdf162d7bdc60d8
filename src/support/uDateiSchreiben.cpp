#include "support/uDateiSchreiben.h"

#include <QSaveFile>

bool DateiSchreiben(const QString &Pfad, const QByteArray &Daten, QString *Grund)
{
    QSaveFile f(Pfad);
    f.setDirectWriteFallback(true);
    // Unbuffered, so that every failed or short write shows here: the commit misses a failed
    // flush and would put the cut file in place of the old one.
    bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qint64 geschrieben = 0;
    while (ok && geschrieben < Daten.size()) {
        // After a short write the next one gives the reason (a full disk, say).
        const qint64 n = f.write(Daten.constData() + geschrieben, Daten.size() - geschrieben);
        if (n <= 0)
            ok = false;
        else
            geschrieben += n;
    }
    ok = ok && f.error() == QFileDevice::NoError;
    if (ok)
        ok = f.commit();
    if (!ok) {
        if (Grund) {
            *Grund = f.errorString();
            if (f.error() == QFileDevice::NoError || Grund->isEmpty())
                *Grund = QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden.");
        }
        f.cancelWriting(); // the new file is dropped with f
    }
    return ok;
}
