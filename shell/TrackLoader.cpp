#include "TrackLoader.h"

#include "ChartPane.h"
#include "MapPane.h"
#include "MapScripts.h"
#include "ProgramFolder.h"
#include "StandardMessages.h"
#include "TrackFile.h"
#include "TrackFolders.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <chrono>
#include <future>
#include <memory>

namespace {

// Long enough for the gauge to move and the window to answer, short enough
// that the pumping costs nothing against the points.
constexpr qint64 kPumpEveryNs = 15'000'000;

QElapsedTimer &loadClock()
{
    static QElapsedTimer t;
    if (!t.isValid())
        t.start();
    return t;
}

} // namespace

TrackLoader::TrackLoader(ChartPane &chart, View view) : m_chart(chart), m_view(std::move(view)) {}

QString TrackLoader::emptyTrackMessage()
{
    return QStringLiteral(u"Файл трассы пустой!!!");
}

QString TrackLoader::busyMessage()
{
    return QStringLiteral(u"Идёт загрузка трассы, дождитесь её окончания.");
}

QString TrackLoader::mapNotReadyText(const QString &detail)
{
    return QStringLiteral(u"Трасса загружена без карты (%1)").arg(detail);
}

void TrackLoader::mapCall(const std::function<void(MapPane &)> &call)
{
    if (m_mapFailed)
        return;
    try {
        call(m_view.map());
    } catch (const TravikError &e) {
        // The load goes on without the map; the status line says so once.
        m_mapFailed = true;
        m_mapError = e.message();
    }
}

void TrackLoader::pump(int i)
{
    const qint64 now = loadClock().nsecsElapsed();
    if (i != 0 && now - m_lastPumpNs < kPumpEveryNs)
        return;
    m_lastPumpNs = now;
    m_view.setGauge(i);
    QCoreApplication::processEvents();
}

bool TrackLoader::LoadTrack(const QString &path, TrackSlot slot)
{
    if (m_loading)
        throw TravikError(busyMessage());
    m_loading = true;
    m_mapFailed = false;
    struct Done {
        TrackLoader *l;
        ~Done() { l->m_loading = false; }
    } done{this};
    // A large file takes a while to parse: on its own thread, while the
    // window goes on answering.
    auto parsing = std::async(std::launch::async, [path] { return std::make_unique<TrackFileReader>(path); });
    while (parsing.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents();
    const std::unique_ptr<TrackFileReader> parsed = parsing.get();
    const TrackFileReader &reader = *parsed;
    const int n = reader.pointCount();
    if (n == 0) {
        m_view.showMessage(emptyTrackMessage());
        return false;
    }
    const QString folder = programFolder();
    mapCall([&](MapPane &m) {
        m.ya_setic(mapscripts::iconAddress(folder, QStringLiteral("dot_blue.png")),
                   mapscripts::iconAddress(folder, QStringLiteral("dot_green.png")),
                   mapscripts::iconAddress(folder, QStringLiteral("dot_red.png")));
    });
    m_chart.beginTrack(slot);
    mapCall([&](MapPane &m) { slot == TrackSlot::Main ? m.ya_clear() : m.ya_clear1(); });
    m_view.showBrowser(false);
    m_view.showGauge(n);
    TrackStore &store = trackStore(slot);
    for (int i = 0; i < n; ++i) {
        pump(i);
        store[size_t(i)] = reader.point(i);
        const TrackPoint &p = store[size_t(i)];
        m_chart.appendPoint(slot, p);
        mapCall([&](MapPane &m) {
            slot == TrackSlot::Main ? m.ya_add_point(i, p.Lat, p.Lng) : m.ya_add_point1(i, p.Lat, p.Lng);
        });
    }
    if (const auto caption = frequencyLabel(MainTrack[0].fr_sel_flag))
        m_view.setFrequency(*caption);
    if (slot == TrackSlot::Main)
        m_view.setDescriptionCaption(reader.description());
    const QString preview = previewPicture(path);
    bool previewWaitRanOut = false;
    if (m_view.componentAfterLoad) {
        // the map component: fitted and pictured once it says its map is loaded
        mapCall([&](MapPane &m) {
            if (m.IsOnline())
                previewWaitRanOut = !m_view.componentAfterLoad(
                    slot == TrackSlot::Main && !QFileInfo::exists(preview) ? preview : QString());
        });
        m_view.hideGauge();
        m_view.showBrowser(true);
    } else {
        mapCall([](MapPane &m) {
            m.ya_mark_undefined();
            m.ya_pan();
            m.flush();
        });
        m_view.hideGauge();
        m_view.showBrowser(true);
        m_chart.endTrack();
    }

    QStringList notes;
    if (reader.truncated())
        notes << QStringLiteral(u"загружены первые %1 точек из %2").arg(MaxTrackPoints).arg(reader.dotsCount() - 1);
    if (m_mapFailed)
        notes << mapNotReadyText(m_mapError);
    if (previewWaitRanOut)
        notes << QStringLiteral(u"карта не загрузилась за 10 с, снимок карты не сохранён");
    if (!notes.isEmpty())
        m_view.setStatus(QLatin1Char(' ') + notes.join(QStringLiteral("; ")));

    if (!m_view.componentAfterLoad && slot == TrackSlot::Main && !QFileInfo::exists(preview)) {
        for (int k = 0; k < 501; ++k) {
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        if (m_view.map().IsOnline() && !m_mapFailed)
            m_view.map().SaveMapPicture(preview);
    }
    return true;
}

void TrackLoader::describe()
{
    if (MainTrackPath.isEmpty())
        return;
    const QString text = m_view.askText(QStringLiteral(u"Введите описание файла трассы:"), m_view.descriptionCaption());
    if (text.isEmpty())
        return;
    QString error;
    if (!writeTrackDescription(MainTrackPath, text, &error))
        throw TravikError(error);
    m_view.setDescriptionCaption(text);
}
