#pragma once

#include <QString>
#include <QUrl>

class QPrinter;
class QWidget;

// Everything the program asks of the user or of the desktop passes here, so
// that tests can answer and record it.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    // A plain message box titled "Travik" with an OK button.
    virtual void showMessage(const QString &text) = 0;
    // The input box "Запрос": prompt and prefilled text; cancelling returns the
    // prefilled text unchanged.
    virtual QString inputBox(const QString &prompt, const QString &text) = 0;
    // Opens a document or a "mailto:" address with the desktop's program for it.
    // Failures are not reported.
    virtual void openExternal(const QUrl &url) = 0;

    // The print dialogs on the program's printer; false when cancelled.
    virtual bool printDialog(QPrinter &printer) = 0;
    virtual void printerSetupDialog(QPrinter &printer) = 0;
    virtual bool pageSetupDialog(QPrinter &printer) = 0;
};

UserDialogs &userDialogs();
// Replaces the dialogs (tests); nullptr restores the real ones.
void setUserDialogs(UserDialogs *dialogs);
