#include "CliExport.h"
#include "CliInstrument.h"
#include "NumberFormat.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: travik-cli export TRACK.trs [-o FILE]\n"
               "       travik-cli info [--program-folder DIR] [--hid-library PATH]\n"
               "       travik-cli sync [--alias NAME] [--program-folder DIR] [--hid-library PATH]\n"
               "       travik-cli list [--program-folder DIR]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    numfmt::useSystemDecimalSeparator();
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    int rc = 2;
    if (command == QLatin1String("export"))
        rc = runExport(args);
    else if (command == QLatin1String("info"))
        rc = runInfo(args);
    else if (command == QLatin1String("sync"))
        rc = runSync(args);
    else if (command == QLatin1String("list"))
        rc = runList(args);
    return rc == 2 ? usage() : rc;
}
