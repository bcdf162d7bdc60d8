#pragma once

// A service window on a command engine whose port talks to the in-process controller
// simulator. No main window: results leave through the engine's result signal.

#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelPort.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "windows/uQuorvel.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>

#include <memory>
#include <utility>

// Port of the engine wired to the simulator: writes reach it, its replies wait to be read.
class SimPort : public QuorvelPort
{
public:
    explicit SimPort(QuorvelSimulator *sim) : mSim(sim)
    {
        QObject::connect(sim, &QuorvelSimulator::senden, this, [this](const QByteArray &b) {
            mEingang += b;
            emit OnTriggerAvail(int(mEingang.size()));
        });
    }
    bool Open() const override { return mOffen; }
    void setOpen(bool o) override { mOffen = o; }
    bool AutoOpen() const override { return mAuto; }
    void setAutoOpen(bool a) override { mAuto = a; }
    void WriteString(const QString &text) override
    {
        mOffen = true;
        mSim->empfangen(text.toLatin1());
    }
    char ReadChar() override
    {
        if (mEingang.isEmpty())
            throw ComPortFehler(QStringLiteral("leer"));
        const char c = mEingang.at(0);
        mEingang.remove(0, 1);
        return c;
    }
    void ProcessPending() override {}

private:
    QuorvelSimulator *mSim;
    QByteArray mEingang;
    bool mOffen = false;
    bool mAuto = false;
};

struct Resultat
{
    QString topic;
    QString text;
};

class ServiceUmgebung
{
public:
    QTemporaryDir dir;
    std::unique_ptr<Programm> programm;
    std::unique_ptr<QuorvelSimulator> sim;
    std::unique_ptr<SimPort> port;
    std::unique_ptr<QuorvelEngine> engine;
    std::unique_ptr<TwQuorvel> fenster;
    QList<Resultat> ergebnisse;
    QStringList fehler;

    ServiceUmgebung()
    {
        OberflaecheEinrichten();
        programm = std::make_unique<Programm>();
        P().Programmverzeichnis = dir.path() + QLatin1Char('/');
        P().ModulName = QStringLiteral("MiniQuorvel");
        sim = std::make_unique<QuorvelSimulator>(QStringLiteral("0600"));
        port = std::make_unique<SimPort>(sim.get());
        engine = std::make_unique<QuorvelEngine>(port.get());
        QObject::connect(engine.get(), &QuorvelEngine::ErgebnisVerteilen,
                         [this](qint32, const QString &t, const QString &x) { ergebnisse << Resultat{t, x}; });
        QObject::connect(engine.get(), &QuorvelEngine::FehlerZeile, [this](const QString &t) { fehler << t; });
        fenster = std::make_unique<TwQuorvel>(engine->Service());
        fenster->Init(0, QStringLiteral("xxxx"));
    }
    ~ServiceUmgebung()
    {
        fenster.reset();
        engine.reset();
        port.reset();
        sim.reset();
        programm.reset();
    }

    // The default proofing program 1 typed into the window's editors, number 1.
    void standardGaerEingeben()
    {
        TwQuorvel *w = fenster.get();
        w->P_Nr->setText(QStringLiteral("1"));
        const std::pair<TQorSpinEdit *, const char *> werte[] = {
            {w->P_SchTemp, "-15"}, {w->P_SchZeit, "60"}, {w->P_GuTemp, "-10"}, {w->P_GvTemp, "2"},
            {w->P_GvFeu, "75"},    {w->P_GvZeit, "360"}, {w->P_GaTemp, "30"},  {w->P_GaFeu, "80"},
            {w->P_GaZeit, "180"},  {w->P_AbTemp, "FFFF"}, {w->P_AbFeu, "70"},  {w->P_AbZeit, "0"},
            {w->P_BVorl, "60"}};
        for (const auto &[s, t] : werte)
            s->setText(QString::fromLatin1(t));
    }

    QuorvelService *service() const { return engine->Service(); }
    QStringList makros() const { return engine->Service()->MakrosListe(); }
};
