#include "UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

class QtUserDialogs final : public UserDialogs
{
public:
    void showMessage(const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Travik"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.button(QMessageBox::Ok)->setText(QStringLiteral(u"ОК"));
        box.exec();
    }

    QString inputBox(const QString &prompt, const QString &text) override
    {
        QInputDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(QStringLiteral(u"Запрос"));
        dialog.setLabelText(prompt);
        dialog.setTextValue(text);
        dialog.setOkButtonText(QStringLiteral(u"ОК"));
        dialog.setCancelButtonText(QStringLiteral(u"Отмена"));
        return dialog.exec() == QDialog::Accepted ? dialog.textValue() : text;
    }

    void openExternal(const QUrl &url) override { QDesktopServices::openUrl(url); }

    bool printDialog(QPrinter &printer) override
    {
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted;
    }

    void printerSetupDialog(QPrinter &printer) override
    {
        // the printer is chosen and set up; nothing is printed from here
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        dialog.setWindowTitle(QStringLiteral(u"Настройка принтера"));
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        dialog.exec();
    }

    bool pageSetupDialog(QPrinter &printer) override
    {
        QPageSetupDialog dialog(&printer, QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted;
    }
};

QtUserDialogs g_real;
UserDialogs *g_current = &g_real;

} // namespace

UserDialogs &userDialogs()
{
    return *g_current;
}

void setUserDialogs(UserDialogs *dialogs)
{
    g_current = dialogs ? dialogs : &g_real;
}
