#include "controller/uQuorvelKonstanten.h"

#include "support/uProgramm.h"

namespace {
NeuerBefehl befehl(const char *name, const char *wort, quint8 maxVersuche, qint32 timeout)
{
    NeuerBefehl b;
    b.Name = QString::fromLatin1(name);
    b.Befehl = QString::fromLatin1(wort);
    b.MaxVersuche = maxVersuche;
    b.Timeout = timeout;
    return b;
}
} // namespace

const NeuerBefehl BefehlAktuell = befehl("BefehlAktuell", "", 0, 0);
const NeuerBefehl Q_None = befehl("Q_None", "", 0, 0);
const NeuerBefehl Q_GaerRecSave = befehl("Q_GaerRecSave", "GRSave", 0, 30000);
const NeuerBefehl Q_GaerRecRest = befehl("Q_GaerRecRest", "GRRest", 0, 30000);
const NeuerBefehl Q_NVRecSave = befehl("Q_NVRecSave", "NVSave", 0, 30000);
const NeuerBefehl Q_NVRecRest = befehl("Q_NVRecRest", "NVRest", 0, 30000);
const NeuerBefehl Q_RSCancel = befehl("Q_RSCancel", "RSCancel", 0, 0);
const NeuerBefehl Q_Status = befehl("Q_Status", "PST", 10, 2000);
const NeuerBefehl Q_GaerProgRd = befehl("Q_GaerProgRd", "GPR", 3, 10000);
const NeuerBefehl Q_GaerProgWr = befehl("Q_GaerProgWr", "GPW", 3, 10000);
const NeuerBefehl Q_NivorellRd = befehl("Q_NivorellRd", "NVR", 3, 10000);
const NeuerBefehl Q_NivorellWr = befehl("Q_NivorellWr", "NVW", 3, 10000);
const NeuerBefehl Q_WochPrgRd = befehl("Q_WochPrgRd", "WPR", 3, 10000);
const NeuerBefehl Q_WochPrgWr = befehl("Q_WochPrgWr", "WPW", 3, 10000);
const NeuerBefehl Q_TimeRd = befehl("Q_TimeRd", "DTR", 3, 1000);
const NeuerBefehl Q_TimeWr = befehl("Q_TimeWr", "DTW", 3, 2000);
const NeuerBefehl Q_FirmWare = befehl("Q_FirmWare", "FWR", 3, 1000);
const NeuerBefehl Q_Stoer = befehl("Q_Stoer", "STO", 0, 2000);

const std::array<const NeuerBefehl *, 17> &AlleBefehle()
{
    static const std::array<const NeuerBefehl *, 17> alle = {
        &Q_None,       &Q_GaerRecSave, &Q_GaerRecRest, &Q_NVRecSave,  &Q_NVRecRest, &Q_RSCancel,
        &Q_Status,     &Q_GaerProgRd,  &Q_GaerProgWr,  &Q_NivorellRd, &Q_NivorellWr, &Q_WochPrgRd,
        &Q_WochPrgWr,  &Q_TimeRd,      &Q_TimeWr,      &Q_FirmWare,   &Q_Stoer};
    return alle;
}

void GaerProgLayoutSetzen(bool ab352)
{
    Programm &p = P();
    p.FirmwareAb352 = ab352;
    p.GaerProgFelder = ab352 ? 14 : 13;
    p.GaerProgLaenge = ab352 ? 56 : 52;
}
