#include "UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>

namespace {

class QtUserDialogs final : public UserDialogs
{
public:
    void showMessage(const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Travik"), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }

    QString inputBox(const QString &prompt, const QString &text) override
    {
        QInputDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(QStringLiteral(u"Запрос"));
        dialog.setLabelText(prompt);
        dialog.setTextValue(text);
        dialog.setOkButtonText(QStringLiteral("OK"));
        dialog.setCancelButtonText(QStringLiteral("Cancel"));
        return dialog.exec() == QDialog::Accepted ? dialog.textValue() : text;
    }

    void openExternal(const QUrl &url) override { QDesktopServices::openUrl(url); }
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
