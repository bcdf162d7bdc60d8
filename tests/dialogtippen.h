#pragma once

// Typing a file name into the Qt file dialog that opens next, as a user does.

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

// Once the dialog is open: Name typed into its name field, then Return. Whatever is still
// modal a moment later (the dialog refusing the name, its own warning box) is closed, so a
// refused name fails the test instead of waiting. Getippt tells whether the field was found.
inline void NameEintippen(QObject *Kontext, const QString &Name, bool &Getippt)
{
    Getippt = false;
    QTimer::singleShot(0, Kontext, [&Getippt, Name] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *zeile = dlg ? dlg->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!zeile)
            return;
        Getippt = true;
        zeile->setFocus();
        QTest::keyClicks(zeile, Name);
        QTest::keyClick(zeile, Qt::Key_Return);
    });
    auto *schliesser = new QTimer(Kontext);
    schliesser->setInterval(300);
    QObject::connect(schliesser, &QTimer::timeout, schliesser, [schliesser] {
        if (QWidget *m = QApplication::activeModalWidget())
            m->close();
        else
            schliesser->deleteLater();
    });
    schliesser->start();
}
