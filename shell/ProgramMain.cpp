#include "ProgramMain.h"

#include "HidLibrary.h"
#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "TForm2.h"
#include "TForm3.h"
#include "THIDtestForm.h"
#include "TravikApplication.h"
#include "UserDialogs.h"

#include <QGuiApplication>

#include <cstdio>


namespace {

// --NAME VALUE or --NAME=VALUE
QString option(const QStringList &args, const char *name)
{
    const QString flag = QStringLiteral("--") + QLatin1String(name);
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == flag && i + 1 < args.size())
            return args[i + 1];
        if (args[i].startsWith(flag + QLatin1Char('=')))
            return args[i].mid(flag.size() + 1);
    }
    return {};
}

} // namespace

int runProgram(int argc, char **argv, const BuildFlavour &flavour)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TravikApplication app(argc, argv);
    numfmt::useSystemDecimalSeparator();
    const QString folder = option(app.arguments(), "program-folder");
    if (!folder.isEmpty())
        setProgramFolder(folder);

    // The instrument's library is bound before any window opens; without it
    // the program does not start.
    QString libraryPath = option(app.arguments(), "hid-library");
    if (libraryPath.isEmpty())
        libraryPath = HidLibrary::defaultPath();
    QString error;
    const std::unique_ptr<HidLibrary> hid = HidLibrary::load(libraryPath, &error);
    if (!hid) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        if (QGuiApplication::platformName() != QLatin1String("offscreen"))
            userDialogs().showMessage(error);
        return 3;
    }
    setHidLibrary(hid.get());

    THIDtestForm form(flavour, *hid);
    TForm2 chooser(&form);
    TForm3 about(flavour.versionText, &form);
    form.setDialogs(&chooser, &about);
    form.showMaximized();
    return app.exec();
}
