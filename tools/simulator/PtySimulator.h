#pragma once

// Puts a QuorvelSimulator on a pseudo-terminal: the program opens the slave device (or the
// link <program folder>/ports/COMn to it) as its serial port.
//
// The master keeps one slave descriptor of its own open, so the program may close and reopen
// the port at will without the master seeing a hang-up. schliessen() closes the pair: the
// program's open port then fails (EIO / hang-up) and the link points nowhere, as with an
// unplugged adapter; neuStarten() brings a new pair up behind the same link.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QSocketNotifier;
class QuorvelSimulator;

class PtySimulator : public QObject
{
    Q_OBJECT
public:
    explicit PtySimulator(QuorvelSimulator *sim, QObject *parent = nullptr);
    ~PtySimulator() override;

    // Opens a pty; with a folder and a number 1..128 it also creates <folder>/ports/COM<n>
    // (and the folder ports/) as a link to the slave device.
    bool starten(const QString &programmverzeichnis = {}, int comNummer = 0);
    // The device vanishes: the pair is closed, the link points to a path that never exists.
    void schliessen();
    // A new pair behind the same link.
    bool neuStarten();

    bool laeuft() const { return m_master >= 0; }
    QString slavePfad() const { return m_slavePfad; }
    QString linkPfad() const { return m_linkPfad; }
    QString fehler() const { return m_fehler; }

private:
    bool oeffnen();
    bool linkSetzen(const QString &ziel);
    void lesen();
    void schreiben(const QByteArray &bytes);
    void restSchreiben();
    void melderAus();

    QPointer<QuorvelSimulator> m_sim;
    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier *m_leseMelder = nullptr;
    QSocketNotifier *m_schreibMelder = nullptr;
    QTimer m_ruhe;               // re-arms reading after a hang-up without spinning
    QByteArray m_rest;           // bytes the master could not write yet
    QString m_slavePfad;
    QString m_linkPfad;
    QString m_fehler;
};
