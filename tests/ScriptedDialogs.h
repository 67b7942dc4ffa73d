#pragma once

#include "UserDialogs.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>

// Answers the user dialogs from a script and records what was shown.
class ScriptedDialogs : public UserDialogs
{
public:
    ScriptedDialogs() { setUserDialogs(this); }
    ~ScriptedDialogs() override { setUserDialogs(nullptr); }

    void showMessage(const QString &text) override { messages << text; }
    QString inputBox(const QString &prompt, const QString &text) override
    {
        prompts << prompt;
        // an empty script cancels: the prefilled text comes back
        return answers.isEmpty() ? text : answers.takeFirst();
    }
    void openExternal(const QUrl &url) override { opened << url; }
    bool printDialog(QPrinter &printer) override { return print ? print(printer) : false; }
    void printerSetupDialog(QPrinter &) override { ++printerSetups; }
    bool pageSetupDialog(QPrinter &printer) override { return pageSetup ? pageSetup(printer) : false; }

    std::function<bool(QPrinter &)> print;     // none: cancelled
    std::function<bool(QPrinter &)> pageSetup; // none: cancelled
    int printerSetups = 0;

    QStringList messages;
    QStringList prompts;
    QStringList answers;
    QList<QUrl> opened;
};
