#pragma once
// Driving a dialog that runs modally: the test body starts it, and `fn` acts
// on it once it is up.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

// Runs `fn` on the modal dialog of type `Dlg` once it is shown (preparing a
// dialog may let events run, so it is looked for until it is up). A dialog
// that never comes up, or is never closed, fails the test instead of
// hanging it.
template <class Dlg> void WhenShown(std::function<void(Dlg&)> fn) {
    auto* t = new QTimer;
    t->setInterval(5);
    QObject::connect(t, &QTimer::timeout, [t, fn] {
        auto* d = qobject_cast<Dlg*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible())
            return;
        t->stop();
        t->deleteLater();
        fn(*d);
    });
    t->start();
    QTimer::singleShot(20000, [] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the dialog was still open";
            w->close();
        }
    });
}
