#pragma once

#include <QString>

#include <optional>

// The exact script texts the map page is sent, and the click value it reports.
namespace mapscripts {

// A script string literal: quotes, backslashes and line breaks escaped, so
// that no text (a folder with a quote in its name) can break out of it.
QString quoted(const QString &text);
QString number(double v); // general format with "." as separator

QString ya_setic(const QString &mainIcon, const QString &comparedIcon, const QString &markIcon);
QString ya_add_point(int index, double lat, double lng);
QString ya_add_point1(int index, double lat, double lng);
QString ya_mark(const QString &name, double lat, double lng);

// The icon addresses of a load: the executable's folder with "/" separators,
// then "/media/" and the file name; no scheme in front.
QString iconAddress(const QString &programFolder, const QString &file);

// The value after "name=" in the location's fragment; none when there is no
// fragment or nothing after "name=".
std::optional<QString> clickValue(const QString &location);

} // namespace mapscripts
