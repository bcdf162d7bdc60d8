#include "support/uProgramm.h"

#include <QtGlobal>

namespace {
Programm *aktuell = nullptr;
}

Programm::Programm()
{
    Q_ASSERT_X(!aktuell, "Programm", "only one Programm at a time");
    aktuell = this;
}

Programm::~Programm()
{
    if (aktuell == this)
        aktuell = nullptr;
}

Programm &P()
{
    if (!aktuell)
        qFatal("P(): no Programm exists");
    return *aktuell;
}

bool ProgrammVorhanden()
{
    return aktuell != nullptr;
}
