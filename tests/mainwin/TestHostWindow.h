#pragma once
// A small host window for the function-key bar: named menu arrays of
// QActions, a bar at the bottom, and an fnMenu that records its calls.

#include "uFkyHost.h"

#include <QMap>
#include <QStringList>
#include <QWidget>
#include <tuple>

class uFky;

class TestHostWindow : public QWidget, public uFkyHost {
public:
    explicit TestHostWindow(const QString& sName = QStringLiteral("fmDoc"));

    QString FormName() const override { return sName; }
    QList<QAction*> MenuArray(const QString& sArray) const override { return arrays.value(sArray); }
    void fnMenu(int iMn, int iNdx, QString& sRet) override;

    // Item `iNdx` of array `sArray` (gaps before it stay empty); "-" makes a
    // separator.
    QAction* AddItem(const QString& sArray, int iNdx, const QString& sCaption);
    // Fills `sArray` with items 0..n-1 captioned "<array> <index>".
    void AddItems(const QString& sArray, int n);
    // The main window's menus "mnFile", "mnSelc" and "mnUser".
    void AddMainMenus();
    // Links the main window's sixteen keys as it does at start.
    void LinkMainKeys();
    QAction* FindItem(const QString& sCaption, int& iMn, int& iNdx) const;

    QString sName;
    QMap<QString, QList<QAction*>> arrays;
    QList<std::tuple<int, int, QString>> calls;
    bool bThrow = false;
    uFky* fky;
};

// Records the operation names the bar reports failures under, while it lives.
struct HookRecorder {
    QStringList procs;
    HookRecorder();
    ~HookRecorder();
};
