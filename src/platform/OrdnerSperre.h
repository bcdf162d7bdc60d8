#pragma once

// Instances of the program take turns on the files of one folder through an advisory lock on
// the folder itself (flock), which needs no new file: the folder may be closed to new files.
// Only programs that take the same lock wait for each other.

#include <QString>

class OrdnerSperre
{
public:
    // Waits at most WarteMs for the lock. Without it (held longer by another, or the folder
    // cannot be opened) the caller goes on as it would without any lock.
    // Once a wait has run out, the process does not wait for that folder again until it has
    // had its lock once more or VergessenMs have passed: meanwhile it only tries once.
    explicit OrdnerSperre(const QString &Ordner, int WarteMs = 2000, int VergessenMs = 30000);
    ~OrdnerSperre();
    OrdnerSperre(const OrdnerSperre &) = delete;
    OrdnerSperre &operator=(const OrdnerSperre &) = delete;

    bool Gehalten() const { return mFd >= 0; }
    // True only for the construction that gave up first since the folder's lock was last had.
    bool ErstmalsAufgegeben() const { return mErstmals; }

private:
    int mFd = -1;
    bool mErstmals = false;
};
