#pragma once

// Support module: paths, server settings file, error log.

#include <QString>

// Appends one time-stamped entry to the error log of module Name; never raises.
void ErrSchreiben(const QString &Name, const QString &Text);
