#pragma once

// Another program that shares the settings file and takes no lock: on a thread of its own it
// adds one new key to a section of its own every few milliseconds, each time to the newest
// file, through a new file of its own and a rename.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <atomic>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

class Fremdschreiber
{
public:
    // Hoechstens: the keys it writes at the most; after that it only waits.
    explicit Fremdschreiber(const QString &Datei, int PauseUs = 3000, int Hoechstens = 1 << 30)
        : mDatei(QFile::encodeName(Datei)), mNeu(mDatei + ".fremd"), mPauseUs(PauseUs), mHoechstens(Hoechstens)
    {
    }
    ~Fremdschreiber() { Anhalten(); }
    Fremdschreiber(const Fremdschreiber &) = delete;
    Fremdschreiber &operator=(const Fremdschreiber &) = delete;

    void Starten()
    {
        mHalt = false;
        mFaden = std::thread([this] { Laufen(); });
    }
    void Anhalten()
    {
        mHalt = true;
        if (mFaden.joinable())
            mFaden.join();
    }
    // The next write leaves out the sections [Messages] and [TCPIP]; true once it is done.
    bool AbschnitteEntfernen()
    {
        mEntfernen = true;
        for (int i = 0; i < 20000 && mEntfernen; ++i)
            ::usleep(500);
        return !mEntfernen;
    }
    // Keys written so far.
    int Geschrieben() const { return mGeschrieben; }
    // The keys it wrote that Inhalt lacks.
    QStringList Fehlende(const QByteArray &Inhalt) const
    {
        QStringList fehlt;
        for (int i = 0; i < mGeschrieben; ++i)
            if (!Inhalt.contains("\r\n" + Schluessel(i)))
                fehlt << QString::fromLatin1(Schluessel(i).trimmed());
        return fehlt;
    }

    static QByteArray Schluessel(int Nummer)
    {
        return "Fremd" + QByteArray::number(Nummer) + '=' + QByteArray::number(Nummer) + "\r\n";
    }

    // Takes the section Name out of Text.
    static void AbschnittEntfernen(QByteArray &Text, const QByteArray &Name)
    {
        // A line of its own, not the header's comment naming it.
        const qsizetype anfang = Text.indexOf("\r\n[" + Name + "]\r\n") + 2;
        if (anfang < 2)
            return;
        const qsizetype ende = Text.indexOf("\r\n\r\n", anfang);
        Text.remove(anfang, ende < 0 ? Text.size() - anfang : ende + 4 - anfang);
    }

private:
    static QByteArray Lesen(const QByteArray &Datei, bool &Ok)
    {
        QByteArray text;
        const int fd = ::open(Datei.constData(), O_RDONLY | O_CLOEXEC);
        Ok = fd >= 0;
        char puffer[16384];
        ssize_t n;
        while (Ok && (n = ::read(fd, puffer, sizeof puffer)) != 0) {
            if (n < 0)
                Ok = false;
            else
                text.append(puffer, n);
        }
        if (fd >= 0)
            ::close(fd);
        return text;
    }
    void Laufen()
    {
        while (!mHalt) {
            bool ok = mGeschrieben < mHoechstens;
            QByteArray text = ok ? Lesen(mDatei, ok) : QByteArray();
            if (ok) {
                const bool entfernen = mEntfernen;
                if (entfernen) {
                    AbschnittEntfernen(text, "Messages");
                    AbschnittEntfernen(text, "TCPIP");
                }
                const QByteArray neu = Schluessel(mGeschrieben);
                const qsizetype abschnitt = text.indexOf("[Fremdprogramm]\r\n");
                const qsizetype ende = abschnitt < 0 ? -1 : text.indexOf("\r\n\r\n", abschnitt);
                if (abschnitt < 0)
                    text += "[Fremdprogramm]\r\n" + neu + "\r\n";
                else if (ende < 0)
                    text += neu;
                else
                    text.insert(ende + 2, neu);
                const int fd = ::open(mNeu.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
                const bool geschrieben = fd >= 0 && ::write(fd, text.constData(), size_t(text.size())) == text.size();
                if (fd >= 0)
                    ::close(fd);
                if (geschrieben && ::rename(mNeu.constData(), mDatei.constData()) == 0) {
                    ++mGeschrieben;
                    if (entfernen)
                        mEntfernen = false;
                }
            }
            ::usleep(useconds_t(mPauseUs));
        }
    }

    const QByteArray mDatei;
    const QByteArray mNeu;
    const int mPauseUs;
    const int mHoechstens;
    std::thread mFaden;
    std::atomic<bool> mHalt{false};
    std::atomic<bool> mEntfernen{false};
    std::atomic<int> mGeschrieben{0};
};
