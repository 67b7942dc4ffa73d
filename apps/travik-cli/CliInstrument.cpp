#include "CliInstrument.h"

#include "HidLibrary.h"
#include "InstrumentLink.h"
#include "InstrumentView.h"
#include "ProgramFolder.h"
#include "StandardMessages.h"
#include "TrackFile.h"
#include "TrackFolders.h"

#include <QDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

void printLine(FILE *to, QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(to, "%s\n", text.toUtf8().constData());
    std::fflush(to);
}

// The command line as the instrument link's view: texts go to standard output.
class CliView : public InstrumentView
{
public:
    explicit CliView(QString alias) : m_alias(std::move(alias)) {}
    void setInstrumentFound(bool) override {}
    void setStatusText(const QString &text) override { printLine(stdout, text); }
    void setLoadMenuAvailable(bool) override {}
    void showMessage(const QString &text) override { printLine(stdout, text); }
    QString askText(const QString &, const QString &preset) override { return m_alias.isEmpty() ? preset : m_alias; }

private:
    QString m_alias;
};

QString notFoundMessage()
{
    return QStringLiteral(u"Прибор не найден");
}

// Detects the instrument and runs `command` on it.
int withInstrument(const QString &libraryPath, const QString &alias, void (InstrumentLink::*command)())
{
    QString error;
    const auto hid = HidLibrary::load(libraryPath.isEmpty() ? HidLibrary::defaultPath() : libraryPath, &error);
    if (!hid) {
        printLine(stderr, error);
        return 1;
    }
    QDir().mkpath(tracesFolder());
    CliView view(alias);
    InstrumentLink link(*hid, view);
    link.registerCallbacks();
    try {
        link.ScanButClick();
        if (!link.instrumentFound()) {
            printLine(stderr, notFoundMessage());
            return 1;
        }
        (link.*command)();
    } catch (const TravikError &e) {
        printLine(stderr, e.message());
        link.closeDevice();
        return 1;
    }
    link.closeDevice();
    return 0;
}

} // namespace

QString takeOption(QStringList &args, const QString &flag, bool *missingValue)
{
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == flag) {
            if (i + 1 >= args.size()) {
                *missingValue = true;
                return {};
            }
            const QString v = args[i + 1];
            args.remove(i, 2);
            return v;
        }
        if (args[i].startsWith(flag + QLatin1Char('='))) {
            const QString v = args[i].mid(flag.size() + 1);
            args.removeAt(i);
            return v;
        }
    }
    return {};
}

bool takeCommonOptions(QStringList &args, QString *libraryPath)
{
    bool missing = false;
    const QString folder = takeOption(args, QStringLiteral("--program-folder"), &missing);
    if (!folder.isEmpty())
        setProgramFolder(folder);
    *libraryPath = takeOption(args, QStringLiteral("--hid-library"), &missing);
    return !missing;
}

int runInfo(const QStringList &args)
{
    QStringList rest = args;
    QString library;
    if (!takeCommonOptions(rest, &library) || !rest.isEmpty())
        return 2;
    return withInstrument(library, {}, &InstrumentLink::N16Click);
}

int runSync(const QStringList &args)
{
    QStringList rest = args;
    QString library;
    bool missing = false;
    const QString alias = takeOption(rest, QStringLiteral("--alias"), &missing);
    if (missing || !takeCommonOptions(rest, &library) || !rest.isEmpty())
        return 2;
    return withInstrument(library, alias, &InstrumentLink::N6Click);
}

int runList(const QStringList &args)
{
    QStringList rest = args;
    QString library;
    if (!takeCommonOptions(rest, &library) || !rest.isEmpty())
        return 2;
    struct Instrument {
        QString alias, folder;
    };
    std::vector<Instrument> instruments;
    const QDir traces(tracesFolder());
    for (const QString &name : traces.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        instruments.push_back({readAlias(traces.filePath(name)), name});
    std::sort(instruments.begin(), instruments.end(), [](const Instrument &a, const Instrument &b) {
        return a.alias != b.alias ? a.alias < b.alias : a.folder < b.folder;
    });
    for (const Instrument &i : instruments) {
        printLine(stdout, i.folder + QLatin1Char('\t') + i.alias);
        const QDir folder(traces.filePath(i.folder));
        for (const QString &file : folder.entryList({QStringLiteral("*.trs")}, QDir::Files, QDir::Name))
            printLine(stdout, QStringLiteral("  ") + file + QLatin1Char('\t') + readTrackDescription(folder.filePath(file)));
    }
    return 0;
}
