#pragma once

// Serial port names "COM1" to "COM128" on this platform.
//
// Linux: COMn is the device that the link or node <program folder>/ports/COMn names when it
// exists; otherwise COM1-COM32 are /dev/ttyS0-31, COM33-COM64 /dev/ttyUSB0-31 and
// COM65-COM96 /dev/ttyACM0-31; COM97-COM128 exist only as links.
// Windows: COMn is the system's own port.

#include <QString>

// Lowest and highest port number.
constexpr int ComErsteNummer = 1;
constexpr int ComLetzteNummer = 128;

// Device path of COM<nummer>; empty when the number has no device (out of range, or 97-128
// without a link). A link that exists is returned as its own path, even when it dangles.
QString ComGeraet(int nummer, const QString &programmverzeichnis);

// True when the device of COM<nummer> exists, is a character device (or a link to one) and
// can be opened. Cheap enough to probe all 128 numbers for the port list.
bool ComVorhanden(int nummer, const QString &programmverzeichnis);
