#include "platform/uPlattform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <atomic>
#include <cstdio>

namespace {
std::atomic<int> piepser{0};
}

QString AusfuehrbareDatei()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    const QString ziel = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return ziel.isEmpty() ? QString() : QFileInfo(ziel).absoluteFilePath();
}

QSize Bildschirmgroesse()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return {};
    const QScreen *bildschirm = QGuiApplication::primaryScreen();
    return bildschirm ? bildschirm->size() : QSize();
}

void Piepton()
{
    ++piepser;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::beep();
}

int PieptonZaehler()
{
    return piepser;
}

bool DateiErsetzen(const QString &Von, const QString &Nach)
{
    return std::rename(QFile::encodeName(Von).constData(), QFile::encodeName(Nach).constData()) == 0;
}

void NachrichtenVerarbeiten()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}
