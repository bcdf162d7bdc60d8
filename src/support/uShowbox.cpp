#include "support/uShowbox.h"

#include <QDebug>

// Placeholders until the box window is built.
void ShowText(const QString &Caption, const QString &Text, qint32)
{
    qDebug().noquote() << Caption << ":" << Text;
}

void ShowErr(const QString &Caption, const QString &Text, qint32)
{
    qDebug().noquote() << Caption << ":" << Text;
}
