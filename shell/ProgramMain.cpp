#include "ProgramMain.h"

#include "NumberFormat.h"
#include "ProgramFolder.h"
#include "TForm2.h"
#include "TForm3.h"
#include "THIDtestForm.h"
#include "TravikApplication.h"


namespace {

// --program-folder DIR (or --program-folder=DIR): where the data live.
QString programFolderOption(const QStringList &args)
{
    const QString flag = QStringLiteral("--program-folder");
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
    const QString folder = programFolderOption(app.arguments());
    if (!folder.isEmpty())
        setProgramFolder(folder);

    THIDtestForm form(flavour);
    TForm2 chooser(&form);
    TForm3 about(flavour.versionText, &form);
    form.setDialogs(&chooser, &about);
    form.showMaximized();
    return app.exec();
}
