#include "TravikApplication.h"

#include "StandardMessages.h"
#include "UserDialogs.h"

TravikApplication::TravikApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Travik"));
}

bool TravikApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        showError(e);
    }
    return false;
}

void showError(const std::exception &error)
{
    if (const auto *t = dynamic_cast<const TravikError *>(&error))
        userDialogs().showMessage(t->message());
    else
        userDialogs().showMessage(QString::fromLocal8Bit(error.what()));
}
