#pragma once

// Self-closing, non-modal message boxes.

#include <QString>

void ShowText(const QString &Caption, const QString &Text, qint32 Zeit);
void ShowErr(const QString &Caption, const QString &Text, qint32 Zeit);
