#include "controller/uQuorvelEngine.h"

#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelPort.h"
#include "platform/uPlattform.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

#include <climits>

namespace {

const QString TextBufferLeer = QStringLiteral("Quorvel: COMPort-Buffer is Empty?!");
const QString TextTriggerFehler = QStringLiteral("Quorvel: COMPort-Trigger-Error!");

QTimer *NeuerTimer(QObject *owner, const char *name, int intervall)
{
    auto *t = new QTimer(owner);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(intervall);
    return t;
}

QString StatusFehlerText(const QString &code)
{
    static const char *const texte[] = {"Wrong password!",
                                        "Wrong type of controller!",
                                        "Wrong checksum!",
                                        "Contains no allowable signs!",
                                        "Write to Eprom is not possible!",
                                        "Wrong End sign!",
                                        "timeout!",
                                        "Wrong Function code!"};
    if (code.size() == 2 && code[0] == QLatin1Char('8') && code[1] >= QLatin1Char('1')
        && code[1] <= QLatin1Char('8'))
        return QString::fromLatin1(texte[code[1].unicode() - '1']);
    return {};
}

// Two upper-case hex digits; anything else never matches.
int PruefsummeLesen(const QString &text)
{
    if (text.size() != 2)
        return -1;
    int wert = 0;
    for (const QChar c : text) {
        int z;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            z = c.unicode() - '0';
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            z = c.unicode() - 'A' + 10;
        else
            return -1;
        wert = wert * 16 + z;
    }
    return wert;
}

} // namespace

// ---- service side -----------------------------------------------------------------------

QuorvelService::QuorvelService(QuorvelEngine *engine) : QObject(engine), mEngine(engine)
{
    setObjectName(QStringLiteral("QuorvelService"));
}

QuorvelService::~QuorvelService()
{
    if (ProgrammVorhanden()) {
        for (QuorvelBefehl *b : std::as_const(Befehle)) {
            P().BefehlsTabelle.removeAll(b);
            if (P().AktuellerBefehl == b)
                P().AktuellerBefehl = nullptr;
        }
    }
}

void QuorvelService::Init(qint32 Nummer_, const QString &Adresse_)
{
    Adresse = Adresse_;
    Nummer = Nummer_;
    for (const NeuerBefehl *rec : AlleBefehle())
        BefehlAnlegen(*rec);
}

void QuorvelService::BefehlAnlegen(const NeuerBefehl &Rec)
{
    QuorvelBefehl *b = QuorvelBefehl::Create(Rec, Nummer, Adresse, this);
    Befehle.append(b);
    P().BefehlsTabelle.resize(Befehle.size());
    P().BefehlsTabelle.last() = b;
}

QuorvelBefehl *QuorvelService::Objekt(const NeuerBefehl &Rec) const
{
    for (QuorvelBefehl *b : Befehle)
        if (b->Name == Rec.Name)
            return b;
    return nullptr;
}

void QuorvelService::MakroHinzufuegen(const QString &Zeile)
{
    const QString z = Zeile.left(32766);
    if (mMakros.stringList().contains(z))
        return;
    const int n = mMakros.rowCount();
    mMakros.insertRows(n, 1);
    mMakros.setData(mMakros.index(n), z);
}

void QuorvelService::FensterWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten)
{
    mEngine->SetWarteZustand(Intervall, ResetVersuche, Warten);
}

void QuorvelService::MeldungMemoZeile(const QString &Text)
{
    while (mQorMeldung.size() > 1000)
        mQorMeldung.removeFirst();
    mQorMeldung.append(Text);
    emit QorMeldungZeile(Text);
}

void QuorvelService::QorMeldungLeeren()
{
    mQorMeldung.clear();
    emit QorMeldungGeleert();
}

// ---- main window side -------------------------------------------------------------------

QuorvelEngine::QuorvelEngine(QuorvelPort *port, QObject *parent) : QObject(parent), mPort(port)
{
    setObjectName(QStringLiteral("QuorvelEngine"));
    P().Engine = this;

    TimerHerz = NeuerTimer(this, "TimerHerz", 50);
    StatusTimer = NeuerTimer(this, "StatusTimer", 1000);
    TimeOut1 = NeuerTimer(this, "TimeOut1", 500);
    TimeOut2 = NeuerTimer(this, "TimeOut2", 500);
    ComWaitTimer = NeuerTimer(this, "ComWaitTimer", 1000);
    connect(TimerHerz, &QTimer::timeout, this, &QuorvelEngine::TimerHerzTimer);
    connect(StatusTimer, &QTimer::timeout, this, &QuorvelEngine::StatusTimerTimer);
    connect(TimeOut1, &QTimer::timeout, this, &QuorvelEngine::TimeOut1Timer);
    connect(TimeOut2, &QTimer::timeout, this, &QuorvelEngine::TimeOut2Timer);
    connect(ComWaitTimer, &QTimer::timeout, this, &QuorvelEngine::ComWaitTimerTimer);

    if (mPort) {
        connect(mPort, &QuorvelPort::OnTriggerAvail, this, &QuorvelEngine::ComPortTriggerAvail);
        connect(mPort, &QuorvelPort::Getrennt, this, &QuorvelEngine::PortGetrennt);
    }

    mAnfangsBefehl = QuorvelBefehl::Create(BefehlAktuell, 0, QStringLiteral("0"), this);
    P().AktuellerBefehl = mAnfangsBefehl;
    P().Wartet = false;
    ServiceFensterErzeugen(0);
}

QuorvelEngine::~QuorvelEngine()
{
    TimerHerz->stop();
    StatusTimer->stop();
    TimeOut1->stop();
    TimeOut2->stop();
    ComWaitTimer->stop();
    if (mPort)
        disconnect(mPort, nullptr, this, nullptr);
    delete mService;
    mService = nullptr;
    if (ProgrammVorhanden()) {
        if (P().AktuellerBefehl == mAnfangsBefehl)
            P().AktuellerBefehl = nullptr;
        if (P().Engine == this)
            P().Engine = nullptr;
    }
}

void QuorvelEngine::Starten()
{
    TimerHerz->start();
    StatusTimer->start();
}

void QuorvelEngine::ServiceFensterErzeugen(qint32 Nummer)
{
    if (mService)
        return;
    mService = new QuorvelService(this);
    mService->Init(Nummer, Nummer == 0 ? QStringLiteral("xxxx") : mAdresse);
}

QString QuorvelEngine::JetztText()
{
    return DatumZeitText(QDateTime::currentDateTime());
}

// ---- command entry and queue --------------------------------------------------------------

void QuorvelEngine::Kommando(const QString &Topic, const QString &Text)
{
    if (Topic.toUpper() != QLatin1String("BEFEHL"))
        return;
    const int tab = Text.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        ErrSchreiben(P().ModulName, QStringLiteral("KVD-Kommando, nicht interpretierbar: ") + Text);
        BefehlEinreihen(QString(), NeuerBefehl{}, QStringLiteral("\t"));
        return;
    }
    const QString kennung = Text.left(tab);
    const QString rest = Text.mid(tab + 1);
    const int tab2 = rest.indexOf(QLatin1Char('\t'));
    const QString daten = tab2 < 0 ? QString() : rest.mid(tab2 + 1);

    if (kennung.compare(Q_RSCancel.Befehl, Qt::CaseInsensitive) == 0)
        P().Abbruch = true;

    NeuerBefehl gefunden;
    for (QuorvelBefehl *b : std::as_const(P().BefehlsTabelle)) {
        if (b && b->Kennung.compare(kennung, Qt::CaseInsensitive) == 0) {
            gefunden = b->Befehl;
            break;
        }
    }
    BefehlEinreihen(QStringLiteral("0"), gefunden, QStringLiteral("\t") + daten);
}

void QuorvelEngine::BefehlEinreihen(const QString &Nummernfeld, const NeuerBefehl &Befehl,
                                    const QString &TabDaten)
{
    const QString zeile = Nummernfeld + QLatin1Char('\t') + Befehl.Name + TabDaten;
    if (mService)
        mService->MakroHinzufuegen(zeile);
    if (!P().Wartet)
        TimerHerz->start();
}

void QuorvelEngine::NaechsterBefehl()
{
    if (!mService)
        return;
    QStringListModel *makros = mService->Makros();
    if (makros->rowCount() == 0)
        return;
    const QString zeile = makros->data(makros->index(0)).toString();
    makros->removeRows(0, 1);
    if (zeile.isEmpty())
        return;

    const int tab = zeile.indexOf(QLatin1Char('\t'));
    const QString rest = tab < 0 ? QString() : zeile.mid(tab + 1);
    const int tab2 = rest.indexOf(QLatin1Char('\t'));
    const QString name = tab2 < 0 ? rest : rest.left(tab2);
    QString daten = tab2 < 0 ? QString() : rest.mid(tab2 + 1);
    const int tab3 = daten.indexOf(QLatin1Char('\t'));
    if (tab3 >= 0 && tab3 == daten.size() - 1)
        daten.chop(1);

    // The abort line starts nothing: the entry has set the flag for the transfer under way,
    // and that transfer has ended by now.
    if (name.compare(Q_RSCancel.Name, Qt::CaseInsensitive) != 0) {
        const QList<QuorvelBefehl *> &tabelle = P().BefehlsTabelle;
        for (int i = 0; i < tabelle.size(); ++i) {
            if (tabelle[i] && tabelle[i]->Name.compare(name, Qt::CaseInsensitive) == 0) {
                if (i < mService->Befehle.size()) {
                    // An abort asked for before this command began is not meant for it.
                    P().Abbruch = false;
                    mService->Befehle[i]->Ausfuehren(0, daten);
                }
                break;
            }
        }
    }
    if (P().AktuellerBefehl)
        P().AktuellerBefehl->Zeile = zeile;
}

void QuorvelEngine::SetWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten)
{
    P().Wartet = Warten;
    TimeOut1->stop();
    if (Warten) {
        TimeOut1->setInterval(Intervall);
        // A zero interval arms no time-out.
        if (Intervall > 0)
            TimeOut1->start();
    } else {
        if (ResetVersuche && P().AktuellerBefehl)
            P().AktuellerBefehl->Versuche = 0;
        TimerHerz->start();
    }
}

// ---- timers -----------------------------------------------------------------------------

void QuorvelEngine::TimerHerzTimer()
{
    TimerHerz->stop();
    if (P().Beenden) {
        emit HauptfensterSchliessen();
        return;
    }
    if (!P().Wartet)
        NaechsterBefehl();
}

void QuorvelEngine::StatusTimerTimer()
{
    if (P().Beenden) {
        emit HauptfensterSchliessen();
        return;
    }
    if (!P().Wartet)
        TimerHerz->start();
}

void QuorvelEngine::TimeOut1Timer()
{
    TimeOut1->stop();
    if (!P().Beenden)
        emit FehlerZeile(QStringLiteral("TIMEOUT"));
}

void QuorvelEngine::TimeOut2Timer()
{
    TimeOut2->stop();
    if (!P().Beenden)
        ZeileEmpfangen(QStringLiteral("TIMEOUT"));
}

void QuorvelEngine::ComWaitTimerTimer()
{
    ComWaitTimer->stop();
}

void QuorvelEngine::FrameTimeoutStarten(qint32 Intervall)
{
    ++mSendeZaehler;
    TimeOut2->stop();
    TimeOut2->setInterval(Intervall < 1000 ? 1000 : Intervall);
    TimeOut2->start();
}

void QuorvelEngine::EmpfangBeginnen(qint32 Laenge)
{
    EmpfangsPuffer.clear();
    EmpfangsZaehler = 0;
    EchoLaenge = Laenge;
}

void QuorvelEngine::PortWarten()
{
    // Messages go on being handled while the port settles; between the checks the thread
    // sleeps in the event loop, so a port that stays closed costs no CPU.
    ComWaitTimer->start(500);
    auto bereit = [this] {
        if (!mPort)
            return false;
        try {
            mPort->ProcessPending();
            return true;
        } catch (const std::exception &) {
            return false;
        }
    };
    QCoreApplication::processEvents();
    if (bereit())
        return;
    QEventLoop schleife;
    QTimer pruefen;
    pruefen.setInterval(10);
    connect(&pruefen, &QTimer::timeout, &schleife, [&] {
        if (bereit() || !ComWaitTimer->isActive())
            schleife.quit();
    });
    QTimer grenze;
    grenze.setSingleShot(true);
    connect(&grenze, &QTimer::timeout, &schleife, &QEventLoop::quit);
    pruefen.start();
    grenze.start(1000);
    schleife.exec();
}

void QuorvelEngine::PortGetrennt(const QString &Text)
{
    ErrSchreiben(P().ModulName, Text);
    emit FehlerZeile(JetztText() + QStringLiteral("__") + Text);
}

// ---- reception --------------------------------------------------------------------------

void QuorvelEngine::ComPortTriggerAvail(int Count)
{
    if (!mPort)
        return;
    for (int i = 0; i < Count; ++i) {
        if (EmpfangsZaehler < INT_MAX)
            ++EmpfangsZaehler;
        char c = 0;
        try {
            c = mPort->ReadChar();
        } catch (const std::exception &) {
            // Nothing waits any more: one report, and the rest of the count is not read either.
            emit FehlerZeile(TextBufferLeer);
            ErrSchreiben(P().ModulName, TextBufferLeer);
            if (P().ServiceModus) {
                ShowErr(TextBufferLeer, QStringLiteral("ERROR"), 0);
                Piepton();
                Piepton();
            }
            return;
        }
        if (mMitEcho && EmpfangsZaehler <= EchoLaenge)
            continue;
        try {
            const QChar z{uchar(c)};
            if (c == '\r' || c == '\n') {
                EmpfangsPuffer += z;
                const QString zeile = EmpfangsPuffer;
                EmpfangsPuffer.clear();
                ZeileEmpfangen(zeile);
            } else {
                // An over-long line loses what it gathered so far; the buffer stays bounded.
                if (EmpfangsPuffer.size() >= MaxZeilenLaenge)
                    EmpfangsPuffer.clear();
                EmpfangsPuffer += z;
            }
        } catch (const std::exception &ex) {
            emit FehlerZeile(TextTriggerFehler);
            ErrSchreiben(P().ModulName, TextTriggerFehler);
            if (P().ServiceModus) {
                emit Meldungsbox(QStringLiteral("ERROR"), TextTriggerFehler);
                emit Meldungsbox(QCoreApplication::applicationName(), QString::fromLocal8Bit(ex.what()));
            }
            // The check stopped the frame time-out: without it the try would never end.
            if (P().Wartet && !TimeOut2->isActive())
                FrameTimeoutStarten(1000);
            return;
        }
    }
}

void QuorvelEngine::ZeileEmpfangen(const QString &Zeile)
{
    AntwortPruefen(Zeile);
}

bool QuorvelEngine::AntwortPruefen(const QString &Zeile)
{
    if (!P().Wartet)
        return false;
    QString zeile = Zeile;
    if (zeile.startsWith(QLatin1Char('!')))
        zeile.remove(0, 1);
    TimeOut2->stop();
    TimeOut1->stop();

    QuorvelBefehl *aktuell = P().AktuellerBefehl;
    if (!aktuell)
        return false;
    QuorvelBefehl *objekt = aktuell;
    const QList<QuorvelBefehl *> &tabelle = P().BefehlsTabelle;
    for (int i = 0; i < tabelle.size(); ++i) {
        if (tabelle[i] && tabelle[i]->Name.compare(aktuell->Name, Qt::CaseInsensitive) == 0) {
            if (mService && i < mService->Befehle.size())
                objekt = mService->Befehle[i];
            break;
        }
    }

    const qsizetype L = zeile.size();
    QString fehler;
    bool fehlgeschlagen = true;
    if (zeile == QLatin1String("TIMEOUT")) {
        fehler = QStringLiteral("TIMEOUT");
    } else if ((L - 19) % 4 != 0) {
        fehler = QStringLiteral("Falsche Länge: ") + QString::number(L);
    } else {
        const QString status = zeile.mid(6, 2);
        const QString rest = zeile.mid(12);
        QString daten;
        QString pruef;
        if (rest.size() >= 3) {
            daten = rest.left(rest.size() - 3);
            pruef = rest.mid(rest.size() - 3, 2);
        }
        if (daten.size() > 19)
            daten.remove(0, 4);
        const int soll = L >= 3 ? PruefsummeLesen(pruef) : -1;
        const QString ist = PruefsummeText(zeile.left(qMax<qsizetype>(0, L - 3)));
        if (soll < 0 || soll != PruefsummeLesen(ist)) {
            fehler = QStringLiteral("ChksmFehler Empfang!");
        } else if (const QString t = StatusFehlerText(status); !t.isEmpty()) {
            fehler = t;
        } else {
            emit EmpfangenZeile(zeile);
            if (daten.size() == 20 && daten.startsWith(QLatin1String("0000")))
                daten = daten.mid(4);
            fehlgeschlagen = !objekt->AntwortVerteilen(daten);
            if (!fehlgeschlagen)
                return true;
        }
    }
    if (fehlgeschlagen) {
        // The decoder may have changed the current command; the failure is the running one's.
        QuorvelBefehl *cmd = P().AktuellerBefehl ? P().AktuellerBefehl : aktuell;
        BefehlFehlgeschlagen(cmd, cmd->Zeile + QLatin1Char(':') + fehler);
    }
    return false;
}

void QuorvelEngine::BefehlFehlgeschlagen(QuorvelBefehl *Cmd, const QString &Fehler)
{
    if (!Cmd)
        return;
    Cmd->Versuche = quint8(Cmd->Versuche + 1);
    QuorvelBefehl *keiner = mService ? mService->Objekt(Q_None) : nullptr;

    if (P().Abbruch) {
        P().Abbruch = false;
        // Its next run starts with all its tries.
        Cmd->Versuche = 0;
        SetWarteZustand(0, false, false);
        if (keiner)
            P().AktuellerBefehl = keiner;
        emit FehlerZeile(JetztText() + QStringLiteral("__") + QStringLiteral("Benutzerabbruch!"));
        return;
    }
    if (Cmd->Kennung.contains(QLatin1String("PST"))) {
        SetWarteZustand(0, false, false);
        if (Cmd->Versuche == 2) {
            const QString jetzt = JetztText();
            emit FehlerZeile(jetzt + QStringLiteral("__") + Fehler);
            emit LastErrorSetzen(jetzt + QLatin1Char('-') + Fehler);
        }
        return;
    }

    const QString jetzt = JetztText();
    emit FehlerZeile(jetzt + QStringLiteral("__") + Fehler);
    emit LastErrorSetzen(jetzt + QLatin1Char('-') + Fehler);
    if (Cmd->Versuche >= Cmd->MaxVersuche)
        BefehlAufgeben(Cmd, Fehler);
    else
        Cmd->Ausfuehren(Cmd->Parameter, Cmd->Daten);
    if (!P().Wartet)
        TimerHerz->start();
}

void QuorvelEngine::BefehlAufgeben(QuorvelBefehl *Cmd, const QString &Fehler)
{
    SetWarteZustand(0, false, false);
    ErrSchreiben(P().ModulName, QStringLiteral("0") + QStringLiteral(": Befehl 3* fehlgeschlagen ") + Cmd->Name);
    Cmd->Versuche = 0;
    if (QuorvelBefehl *keiner = mService ? mService->Objekt(Q_None) : nullptr)
        P().AktuellerBefehl = keiner;

    const QString &k = Cmd->Kennung;
    QString topic;
    QString memo;
    if (k == Q_GaerProgRd.Befehl || k == Q_GaerProgWr.Befehl) {
        topic = QStringLiteral("QORGAERPROG");
        memo = QStringLiteral("GaerProgrammError");
    } else if (k == Q_GaerRecSave.Befehl || k == Q_GaerRecRest.Befehl) {
        topic = QStringLiteral("QORGAERLISTE");
        memo = QStringLiteral("GaerRecordError");
    } else if (k == Q_NivorellRd.Befehl || k == Q_NivorellWr.Befehl) {
        topic = QStringLiteral("QORNIVORELL");
        memo = QStringLiteral("NivorellError");
    } else if (k == Q_NVRecSave.Befehl || k == Q_NVRecRest.Befehl) {
        topic = QStringLiteral("QORNIVOLISTE");
        memo = QStringLiteral("Nivorell-Record-Error");
    } else if (k == Q_WochPrgRd.Befehl || k == Q_WochPrgWr.Befehl) {
        topic = QStringLiteral("QORWOCHPROG");
        memo = QStringLiteral("WochProgrammError");
    } else if (k == Q_TimeWr.Befehl) {
        topic = QStringLiteral("QUORVELTIME");
        memo = QStringLiteral("TimeError");
    }
    if (topic.isEmpty()) {
        emit ErgebnisVerteilen(0, QStringLiteral("QUORVELFEHLER"), Fehler);
        return;
    }
    emit ErgebnisVerteilen(0, topic, QStringLiteral("SendNAK"));
    if (mService)
        mService->MeldungMemoZeile(memo);
}
