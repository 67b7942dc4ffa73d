#include "CliExport.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: travik-cli export TRACK.trs [-o FILE]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("export")) {
        const int rc = runExport(args);
        return rc == 2 ? usage() : rc;
    }
    return usage();
}
