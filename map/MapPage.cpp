#include "MapPage.h"

#include "AtomicFile.h"
#include "ProgramFolder.h"

namespace {

// The page, line for line, each ending in CR LF.
constexpr char kPage[] =
    "<!DOCTYPE html>\r\n"
    "<html>\r\n"
    "<head>\r\n"
    "<title>Yandex</title>\r\n"
    "<style type=\"text/css\">\r\n"
    "html, body {\r\n"
    "height: 100%;\r\n"
    "}\r\n"
    "div {\r\n"
    "height:100%;\r\n"
    "background-color: #ffffff;\r\n"
    "}\r\n"
    "div div {\r\n"
    "background-color: #ffffff;\r\n"
    "width: 50px;\r\n"
    "}\r\n"
    "</style>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\r\n"
    "<script src=\"https://api-maps.yandex.ru/2.0/?load=package.standard,package.geoObjects&lang=ru-RU\" type=\"text/javascript\"></script>\r\n"
    "<script type=\"text/javascript\">\r\n"
    "Blueicon=\"Blue\";\r\n"
    "Greenicon=\"Green\";\r\n"
    "Redicon=\"Red\";\r\n"
    "ymaps.ready(init);\r\n"
    "function init () {\r\n"
    "var geolocation = ymaps.geolocation,\r\n"
    "coords = [geolocation.latitude, geolocation.longitude],\r\n"
    "myMap = new ymaps.Map(\"map\", {\r\n"
    "center: coords,\r\n"
    "zoom: 10,\r\n"
    "behaviors:[\"default\", \"scrollZoom\"]\r\n"
    "});\r\n"
    "myMap.controls\r\n"
    ".add(\"typeSelector\")\r\n"
    ".add(\"smallZoomControl\");\r\n"
    "var myCollection = new ymaps.GeoObjectCollection();\r\n"
    "var myCollection1 = new ymaps.GeoObjectCollection();\r\n"
    "var myMarker = new ymaps.GeoObjectCollection();\r\n"
    "var myLine = new ymaps.Polyline([\r\n"
    "[0, 0]\r\n"
    "],  {balloonContent: \"\"},{balloonCloseButton: false,strokeColor: \"#0000FF\",strokeWidth: 4,strokeOpacity: 1});\r\n"
    "var myLine1 = new ymaps.Polyline([\r\n"
    "[0, 0]\r\n"
    "],  {balloonContent: \"\"},{balloonCloseButton: false,strokeColor: \"#00FF00\",strokeWidth: 4,strokeOpacity: 1});\r\n"
    "myCollection.add(myLine);\r\n"
    "myCollection1.add(myLine1);\r\n"
    "myMap.geoObjects.add(myCollection);\r\n"
    "myMap.geoObjects.add(myCollection1);\r\n"
    "myMap.geoObjects.add(myMarker);\r\n"
    "myMap.geoObjects.events.add([\"click\"],function (e) {\r\n"
    "clickobject = e.get(\"target\").properties.get(\"hintContent\");\r\n"
    "clickcoords = e.get(\"target\").geometry.getCoordinates();\r\n"
    "setClickHash();\r\n"
    "});\r\n"
    "function setClickHash () {\r\n"
    "var params = [\r\n"
    "\"name=\" + clickobject\r\n"
    "];\r\n"
    "window.location.hash = params.join(\"&\");\r\n"
    "if (clickobject!=null) {myMap.setCenter(clickcoords);\r\n"
    "myMarker.removeAll();\r\n"
    "myMarker.add(new ymaps.Placemark(clickcoords,{hintContent: clickobject},{iconContent: \"\",iconImageHref: Redicon,iconImageSize: [24, 24],iconImageOffset: [-12, -12]}));}\r\n"
    "}\r\n"
    "ya_mark = function(nam,coor1,coor2) {\r\n"
    "myMarker.removeAll();\r\n"
    "myMarker.add(new ymaps.Placemark([coor1, coor2],{hintContent: nam},{iconContent: \"\",iconImageHref: Redicon,iconImageSize: [24, 24],iconImageOffset: [-12, -12]}));\r\n"
    "myMap.setCenter([coor1, coor2]);\r\n"
    "}\r\n"
    "ya_centr = function(coor1,coor2) {\r\n"
    "myMap.setCenter([coor1, coor2]);\r\n"
    "}\r\n"
    "ya_setic = function(blic,gric,rdic) {\r\n"
    "Blueicon=blic;\r\n"
    "Greenicon=gric;\r\n"
    "Redicon=rdic;\r\n"
    "}\r\n"
    "ya_add_point = function(indx,nam,coor1,coor2) {\r\n"
    "myCollection.add(new ymaps.Placemark([coor1, coor2],{hintContent: nam},{iconContent: \"\",iconImageHref: Blueicon,iconImageSize: [16, 16],iconImageOffset: [-8, -8]}));\r\n"
    "myLine.geometry.set(indx,[coor1, coor2]);\r\n"
    "}\r\n"
    "ya_add_point1 = function(indx,nam,coor1,coor2) {\r\n"
    "myCollection1.add(new ymaps.Placemark([coor1, coor2],{hintContent: nam},{iconContent: \"\",iconImageHref: Greenicon,iconImageSize: [16, 16],iconImageOffset: [-8, -8]}));\r\n"
    "myLine1.geometry.set(indx,[coor1, coor2]);\r\n"
    "}\r\n"
    "ya_clear = function() {\r\n"
    "myCollection.removeAll();\r\n"
    "myCollection.add(myLine);\r\n"
    "myLine.geometry.splice(0,200000);\r\n"
    "myLine.geometry.set(0,[0, 0]);\r\n"
    "}\r\n"
    "ya_clear1 = function() {\r\n"
    "myCollection1.removeAll();\r\n"
    "myCollection1.add(myLine1);\r\n"
    "myLine1.geometry.splice(0,200000);\r\n"
    "myLine1.geometry.set(0,[0, 0]);\r\n"
    "}\r\n"
    "ya_pan = function() {\r\n"
    "myMap.setBounds(myCollection.getBounds(),{checkZoomRange: true});\r\n"
    "}\r\n"
    "ya_pan1 = function() {\r\n"
    "myMap.setBounds(myCollection1.getBounds(),{checkZoomRange: true});\r\n"
    "}\r\n"
    "}\r\n"
    "</script>\r\n"
    "</head>\r\n"
    "<body scroll=\"No\"; leftmargin=\"0\"; topmargin=\"0\">\r\n"
    "<div id=\"map\" style=\"width:auto; height:100%\"></div>\r\n"
    "</body>\r\n"
    "</html>\r\n";

} // namespace

QByteArray mapPageBytes()
{
    return QByteArray(kPage, sizeof kPage - 1);
}

QString mapPagePath()
{
    return programPath(QStringLiteral("temp/yandex.html"));
}

bool WriteMapPage(QString *errorMessage)
{
    return writeFileAtomically(mapPagePath(), mapPageBytes(), errorMessage);
}

void SetBrowserEmulation()
{
    // A registry setting of the Windows browser control; this engine renders
    // the page in its standards mode as it is.
}
