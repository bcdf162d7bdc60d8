#pragma once

// A command engine on a fake port, with everything it reports collected for the checks.

#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelPort.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDate>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class FakePort : public QuorvelPort
{
    Q_OBJECT
public:
    bool offen = false;
    bool autoOpen = false;
    int schreibFehler = 0;     // so many next writes fail
    bool pendingOk = true;
    QList<QByteArray> frames;
    QByteArray eingang;
    int lesefehlerNach = -1;   // ReadChar fails after so many reads (-1: never)

    bool Open() const override { return offen; }
    void setOpen(bool o) override { offen = o; }
    bool AutoOpen() const override { return autoOpen; }
    void setAutoOpen(bool a) override { autoOpen = a; }
    void WriteString(const QString &text) override
    {
        if (schreibFehler > 0) {
            --schreibFehler;
            throw ComPortFehler(QStringLiteral("Schreibfehler"));
        }
        if (!offen) {
            if (!autoOpen)
                throw ComPortFehler(QStringLiteral("nicht offen"));
            offen = true;
        }
        frames << text.toLatin1();
    }
    char ReadChar() override
    {
        if (lesefehlerNach == 0 || eingang.isEmpty())
            throw ComPortFehler(QStringLiteral("leer"));
        if (lesefehlerNach > 0)
            --lesefehlerNach;
        const char c = eingang.at(0);
        eingang.remove(0, 1);
        return c;
    }
    void ProcessPending() override
    {
        if (!pendingOk)
            throw ComPortFehler(QStringLiteral("beschäftigt"));
    }

    // Bytes arrive; the notification counts all unread bytes.
    void liefern(const QByteArray &bytes)
    {
        eingang += bytes;
        emit OnTriggerAvail(int(eingang.size()));
    }
};

struct Ergebnis
{
    qint32 nummer;
    QString topic;
    QString text;
};

// Reply line: address "58" code register data checksum CR.
inline QByteArray Antwort(const QString &register_, const QString &daten,
                          const QString &code = QStringLiteral("10"),
                          const QString &adresse = QStringLiteral("0600"))
{
    const QString z = adresse + QStringLiteral("58") + code + register_ + daten;
    return (z + PruefsummeText(z) + QLatin1Char('\r')).toLatin1();
}

class EngineUmgebung
{
public:
    QTemporaryDir dir;
    std::unique_ptr<Programm> programm;
    FakePort port;
    std::unique_ptr<QuorvelEngine> engine;
    QStringList fehler;
    QStringList gesendet;
    QStringList empfangen;
    QStringList lastError;
    QList<Ergebnis> ergebnisse;
    int schliessen = 0;

    EngineUmgebung()
    {
        programm = std::make_unique<Programm>();
        P().Programmverzeichnis = dir.path() + QLatin1Char('/');
        P().ModulName = QStringLiteral("MiniQuorvel");
        engine = std::make_unique<QuorvelEngine>(&port);
        QuorvelEngine *e = engine.get();
        QObject::connect(e, &QuorvelEngine::FehlerZeile, [this](const QString &t) { fehler << t; });
        QObject::connect(e, &QuorvelEngine::GesendetZeile, [this](const QString &t) { gesendet << t; });
        QObject::connect(e, &QuorvelEngine::EmpfangenZeile, [this](const QString &t) { empfangen << t; });
        QObject::connect(e, &QuorvelEngine::LastErrorSetzen, [this](const QString &t) { lastError << t; });
        QObject::connect(e, &QuorvelEngine::ErgebnisVerteilen,
                         [this](qint32 n, const QString &t, const QString &x) { ergebnisse << Ergebnis{n, t, x}; });
        QObject::connect(e, &QuorvelEngine::HauptfensterSchliessen, [this] { ++schliessen; });
    }
    ~EngineUmgebung()
    {
        engine.reset();
        programm.reset();
    }

    QuorvelService *service() const { return engine->Service(); }
    QStringList makros() const { return engine->Service()->MakrosListe(); }
    QuorvelBefehl *objekt(const NeuerBefehl &k) const { return engine->Service()->Objekt(k); }

    // A request as the windows send it, then one heartbeat tick.
    void anfordern(const QString &text)
    {
        engine->Kommando(QStringLiteral("BEFEHL"), text);
        engine->TimerHerzTimer();
    }

    // Lines of today's error log, without its two header lines.
    QStringList errLog() const
    {
        QFile f(LogVerzeichnis(QDate::currentDate()) + P().ModulName + QStringLiteral(".err"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList zeilen = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (!zeilen.isEmpty())
            zeilen.removeFirst();
        return zeilen;
    }
    int errLogMit(const QString &text) const
    {
        int n = 0;
        for (const QString &z : errLog())
            if (z.endsWith(QStringLiteral(": ") + text))
                ++n;
        return n;
    }
    int fehlerMit(const QString &text) const
    {
        int n = 0;
        for (const QString &z : fehler)
            if (z.contains(text))
                ++n;
        return n;
    }
};
