#pragma once

// Another program that shares the settings file and takes no lock: on a thread of its own it
// adds new keys to a section of its own, each to the newest file, through a new file of its own
// and a rename. It writes a set number of keys a round and waits between them.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <thread>
#include <unistd.h>

class Fremdschreiber
{
public:
    // Fenster, where given, is held around each rename; a test that holds it keeps the renames
    // out of a moment of its choosing.
    explicit Fremdschreiber(const QString &Datei, int PauseUs = 3000, std::mutex *Fenster = nullptr)
        : mDatei(QFile::encodeName(Datei)), mNeu(mDatei + ".fremd"), mPauseUs(PauseUs), mFenster(Fenster)
    {
        mFaden = std::thread([this] { Laufen(); });
    }
    ~Fremdschreiber()
    {
        {
            const std::lock_guard<std::mutex> g(mMutex);
            mHalt = true;
        }
        mWecker.notify_all();
        mFaden.join();
    }
    Fremdschreiber(const Fremdschreiber &) = delete;
    Fremdschreiber &operator=(const Fremdschreiber &) = delete;

    // A round of Anzahl keys. With Entfernen the first write of the round leaves out the
    // sections [Messages] and [TCPIP]; with NachZurueckschreiben the further keys wait until
    // another writer has put [Messages] back.
    void Runde(int Anzahl, bool Entfernen = false, bool NachZurueckschreiben = false)
    {
        {
            const std::lock_guard<std::mutex> g(mMutex);
            mOffen += Anzahl;
            mEntfernen = Entfernen;
            mWarten = NachZurueckschreiben;
        }
        mWecker.notify_all();
    }
    // Waits until the round's keys are written; false after Ms without that.
    bool RundeAbwarten(int Ms = 60000)
    {
        std::unique_lock<std::mutex> g(mMutex);
        return mWecker.wait_for(g, std::chrono::milliseconds(Ms), [this] { return mOffen == 0; });
    }
    // Keys written so far.
    int Geschrieben() const { return mGeschrieben; }
    // The keys it wrote that Inhalt lacks; with OhneEntschuldigte, only those that it did not put in
    // place while another writer's new file stood beside the file.
    QStringList Fehlende(const QByteArray &Inhalt, bool OhneEntschuldigte = false) const
    {
        QStringList fehlt;
        const std::lock_guard<std::mutex> g(mMutex);
        for (int i = 0; i < mGeschrieben; ++i)
            if (!Inhalt.contains("\r\n" + Schluessel(i)) && !(OhneEntschuldigte && mNeben.contains(i)))
                fehlt << QString::fromLatin1(Schluessel(i).trimmed());
        return fehlt;
    }
    // The keys it put in place while another writer's new file stood beside the file.
    qsizetype Nebenher() const
    {
        const std::lock_guard<std::mutex> g(mMutex);
        return mNeben.size();
    }

    static QByteArray Schluessel(int Nummer)
    {
        return "Fremd" + QByteArray::number(Nummer) + '=' + QByteArray::number(Nummer) + "\r\n";
    }

    // The lines of the first section Name of Text, without its section line.
    static QStringList Abschnitt(const QByteArray &Text, const QByteArray &Name)
    {
        const qsizetype anfang = Text.indexOf("\r\n[" + Name + "]\r\n");
        if (anfang < 0)
            return {};
        const qsizetype start = anfang + Name.size() + 6;
        const qsizetype ende = Text.indexOf("\r\n\r\n", start - 2);
        QString teil = QString::fromLatin1(Text.mid(start, ende < 0 ? -1 : ende + 2 - start));
        if (teil.endsWith(QLatin1String("\r\n")))
            teil.chop(2);
        return teil.isEmpty() ? QStringList() : teil.split(QStringLiteral("\r\n"));
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

    // A new file of another writer beside the file: a write-back under way.
    bool AndererNebenan() const
    {
        const QFileInfo info(QFile::decodeName(mDatei));
        const QStringList neben = QDir(info.absolutePath())
                                      .entryList({info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
        for (const QString &n : neben)
            if (QFile::encodeName(info.absolutePath() + QLatin1Char('/') + n) != mNeu)
                return true;
        return false;
    }

    void Laufen()
    {
        for (;;) {
            bool entfernen = false;
            {
                std::unique_lock<std::mutex> g(mMutex);
                mWecker.wait(g, [this] { return mHalt || mOffen > 0; });
                if (mHalt)
                    return;
                entfernen = mEntfernen;
            }
            bool ok = true;
            QByteArray text = Lesen(mDatei, ok);
            if (ok && !entfernen && mWarten && !text.contains("\r\n[Messages]\r\n"))
                ok = false; // the round's further keys follow the other writer's write-back
            if (ok) {
                if (entfernen) {
                    AbschnittEntfernen(text, "Messages");
                    AbschnittEntfernen(text, "TCPIP");
                }
                const int nummer = mGeschrieben;
                const QByteArray neu = Schluessel(nummer);
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
                bool umbenannt = false;
                if (geschrieben) {
                    std::unique_lock<std::mutex> fenster;
                    if (mFenster)
                        fenster = std::unique_lock<std::mutex>(*mFenster);
                    umbenannt = ::rename(mNeu.constData(), mDatei.constData()) == 0;
                }
                // Looked at before the next read: a write-back that could have read the file
                // before this rename and puts its text in place after it still has its new file
                // beside it now.
                const bool neben = umbenannt && AndererNebenan();
                if (umbenannt) {
                    const std::lock_guard<std::mutex> g(mMutex);
                    if (neben)
                        mNeben.append(nummer);
                    ++mGeschrieben;
                    --mOffen;
                    mEntfernen = false;
                }
                if (umbenannt)
                    mWecker.notify_all();
            }
            ::usleep(useconds_t(mPauseUs));
        }
    }

    const QByteArray mDatei;
    const QByteArray mNeu;
    const int mPauseUs;
    std::mutex *const mFenster;
    mutable std::mutex mMutex;
    std::condition_variable mWecker;
    bool mHalt = false;
    int mOffen = 0;
    bool mEntfernen = false;
    bool mWarten = false;
    QList<int> mNeben;
    std::atomic<int> mGeschrieben{0};
    std::thread mFaden;
};
