#pragma once

// Fixture of the main-window tests: a temporary program folder with its own port links, a
// temporary user settings store, and the modal boxes caught instead of shown.

#include "support/uKonstanten.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"

#include <QDir>
#include <QFile>
#include <QPair>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

struct Hauptfensterumgebung
{
    QTemporaryDir dir;
    std::unique_ptr<Programm> programm;
    QList<QPair<QString, QString>> boxen;   // caption, text
    std::unique_ptr<TwMiniQuorvel> fenster;

    Hauptfensterumgebung()
    {
        OberflaecheEinrichten();
        programm = std::make_unique<Programm>();
        QDir().mkpath(prog() + QStringLiteral("ports"));
        PfadeInitialisieren(prog());
        einstellungenNach(dir.path() + QStringLiteral("/einstellungen"));
        // COM1 must not depend on the machine: a node that exists but is no serial port.
        portLink(1, QStringLiteral("/dev/null"));
        TwMiniQuorvel::ModaleBox = [this](QWidget *, const QString &c, const QString &t) { boxen << qMakePair(c, t); };
    }
    ~Hauptfensterumgebung()
    {
        fenster.reset();
        TwMiniQuorvel::ModaleBox = nullptr;
        programm.reset();
    }

    QString prog() const { return dir.path() + QStringLiteral("/prog/"); }

    // The user store lives below Ordner from now on.
    void einstellungenNach(const QString &Ordner)
    {
        einstellungsOrdner = Ordner;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Ordner);
    }
    QString einstellungsDatei() const { return einstellungsOrdner + QStringLiteral("/ZIR/MiniQuorvel.conf"); }

    void einstellungSetzen(const QString &Key, const QVariant &Wert)
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZIR"), QStringLiteral("MiniQuorvel"));
        s.setValue(Key, Wert);
    }
    QVariant einstellung(const QString &Key) const
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZIR"), QStringLiteral("MiniQuorvel"));
        return s.value(Key);
    }
    QByteArray einstellungsText() const
    {
        QFile f(einstellungsDatei());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // <prog>/ports/COM<n> pointing to Ziel (replacing an earlier link).
    bool portLink(int n, const QString &Ziel)
    {
        const QString link = prog() + QStringLiteral("ports/COM%1").arg(n);
        QFile::remove(link);
        return QFile::link(Ziel, link);
    }

    TwMiniQuorvel *erzeugen()
    {
        fenster = std::make_unique<TwMiniQuorvel>();
        return fenster.get();
    }

    // Lines of today's error log of the main window.
    QString fehlerLog() const
    {
        QFile f(LogVerzeichnis(QDate::currentDate()) + QStringLiteral("MiniQuorvel.err"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QString einstellungsOrdner;
};
