#pragma once

#include <QApplication>

// The application object with the default error display: a failure that
// escapes any event handler is shown in a message box titled "Travik" and the
// program goes on.
class TravikApplication : public QApplication
{
public:
    TravikApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// Shows a failure the way the default error display does.
void showError(const std::exception &error);
