#include "support/uKonstanten.h"

#include <QDebug>

// Placeholder until the error log is built.
void ErrSchreiben(const QString &Name, const QString &Text)
{
    qDebug().noquote() << Name << ":" << Text;
}
