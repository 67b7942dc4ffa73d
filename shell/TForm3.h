#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: product, version, the support address and a second picture
// behind fifteen clicks on the first.
class TForm3 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm3(const QString &versionText, QWidget *parent = nullptr);

    static QString supportAddress();
    int clickCount() const { return m_clicks; }

    void Image1Click();
    void Label5Click();
    void Button1Click();

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormClose();

    QLabel *m_image1;
    QLabel *m_image2;
    QLabel *m_label5;
    int m_clicks = 0;
};
