#pragma once

#include "MapPane.h"
#include "NumberFormat.h"
#include "StandardMessages.h"

#include <QStringList>

// Records every map operation as the script text the generated page would get.
class RecordingMapPane : public MapPane
{
public:
    void ya_setic(const QString &a, const QString &b, const QString &c) override
    {
        calls << QStringLiteral("ya_setic(\"%1\",\"%2\",\"%3\")").arg(a, b, c);
    }
    void ya_clear() override { calls << QStringLiteral("ya_clear()"); }
    void ya_clear1() override { calls << QStringLiteral("ya_clear1()"); }
    void ya_add_point(int i, double lat, double lng) override
    {
        calls << QStringLiteral("ya_add_point(%1,\"%1\",%2,%3)").arg(i).arg(num(lat), num(lng));
    }
    void ya_add_point1(int i, double lat, double lng) override
    {
        calls << QStringLiteral("ya_add_point1(%1,\"1-%1\",%2,%3)").arg(i).arg(num(lat), num(lng));
    }
    void ya_mark(const QString &name, double lat, double lng) override
    {
        if (failMark)
            throw TravikError(QStringLiteral("page not ready"));
        calls << QStringLiteral("ya_mark(\"%1\",%2,%3)").arg(name, num(lat), num(lng));
    }
    void ya_mark_undefined() override { calls << QStringLiteral("ya_mark(\"undefined\",0,0)"); }
    void ya_pan() override { calls << QStringLiteral("ya_pan()"); }
    void ya_pan1() override { calls << QStringLiteral("ya_pan1()"); }
    void SaveMapPicture(const QString &path) override { calls << QStringLiteral("SaveMapPicture(%1)").arg(path); }
    bool IsOnline() const override { return online; }

    static QString num(double v) { return numfmt::formatRealForScript(v); }

    QStringList calls;
    bool online = true;
    bool failMark = false;
};
