// The result router of the main window.

#include "windows/uMiniQuorvel.h"

void TwMiniQuorvel::ErgebnisVerteilen(qint32 Nummer, const QString &Topic, const QString &Text)
{
    emit Ergebnis(Nummer, Topic, Text);
}
