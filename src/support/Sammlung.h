#pragma once

// Small text helpers shared by the windows and the protocol code. None keeps state; bad input
// shows in the result. The grid helper GridEnterWeiter is in SammlungGrid.h.

#include <QChar>
#include <QString>
#include <QtGlobal>

// Minutes as "hh:mm" (hours not wrapped at 24); negative values get "--" in front.
// 0 gives the empty text unless NullZeigen is set.
QString MinutenZuZeit(qint32 Minuten, bool NullZeigen);

// Hours before the first ':' times 60 plus the at most two characters after it as minutes;
// a part that is not a whole number counts 0. Without ':' the first two characters are minutes.
qint32 ZeitZuMinuten(const QString &Zeit);

// Upper-case hexadecimal text to a wrapping 32-bit value; -1 for the empty text or any
// character other than '0'..'9' and 'A'..'F'.
qint32 HexZuInt(const QString &Text);

// Cuts Text at the first Trenner: Teil gets what stands before it, Text loses it up to and
// including the separator. Without a separator Teil is empty and Text unchanged.
void TeilString(QChar Trenner, QString &Text, QString &Teil);

// German weekday name, 1 = Sonntag .. 7 = Samstag (0 is Samstag too); other numbers "-n-?".
QString WochentagName(qint32 Tag);

// Smallest axis step of 1, 2, 5, ... 50000 units that is at least 30 pixels long at the given
// scale (pixels per unit); 200000 when none is.
qint32 AchsenSchritt(long double Massstab);

// Whole decimal number in the 32-bit range: leading blanks and one sign allowed, nothing after
// the digits. Returns false (and leaves Wert alone) for anything else.
bool GanzzahlLesen(const QString &Text, qint32 &Wert);

// GanzzahlLesen, or Vorgabe when the text is not a whole number.
qint32 GanzzahlOder(const QString &Text, qint32 Vorgabe);
