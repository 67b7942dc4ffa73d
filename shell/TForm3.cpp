#include "TForm3.h"

#include "ProgramFolder.h"
#include "JpegCodec.h"
#include "UserDialogs.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace {

QFont pixelFont(const char *family, int pixels, bool bold = false)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QLabel *label(QWidget *parent, const char *name, const QRect &geometry, const QString &text, const QFont &f)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    l->setFont(f);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return l;
}

QFrame *bevel(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *b = new QFrame(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setFrameShape(QFrame::Box);
    b->setFrameShadow(QFrame::Sunken);
    return b;
}

} // namespace

QString TForm3::supportAddress()
{
    return QStringLiteral("support@travik.example");
}

TForm3::TForm3(const QString &versionText, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral(u"О программе"));
    setModal(true);
    setFixedSize(627, 455);
    setFont(pixelFont("Tahoma", 11));

    bevel(this, "Bevel1", QRect(6, 6, 305, 407));
    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(QPixmap::fromImage(jpeg::load(deliveredPath(QStringLiteral("media/about1.jpg")))));
    m_image1->setGeometry(8, 8, 300, 400);
    m_image1->installEventFilter(this);
    m_image2 = new QLabel(this);
    m_image2->setObjectName(QStringLiteral("Image2"));
    m_image2->setPixmap(QPixmap::fromImage(jpeg::load(deliveredPath(QStringLiteral("media/about2.jpg")))));
    m_image2->setScaledContents(true);
    m_image2->setGeometry(8, 8, 300, 401);
    m_image2->hide();

    bevel(this, "Bevel2", QRect(317, 6, 286, 407));
    auto *title = label(this, "Label1", QRect(312, 48, 297, 73), QStringLiteral("Travik"), pixelFont("Arial Black", 48, true));
    title->setAttribute(Qt::WA_TranslucentBackground);
    auto *about = label(this, "Label2", QRect(314, 144, 297, 57),
                        QStringLiteral(u"Программа считывания и анализа информации из приборов серии \"Травик\""),
                        pixelFont("Times New Roman", 16, true));
    about->setWordWrap(true);
    label(this, "Label3", QRect(314, 224, 297, 25), versionText, pixelFont("Times New Roman", 16, true));
    QFont link = pixelFont("Times New Roman", 13, true);
    link.setUnderline(true);
    m_label5 = label(this, "Label5", QRect(314, 296, 297, 17), supportAddress(), link);
    QPalette pal = m_label5->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    m_label5->setPalette(pal);
    m_label5->setCursor(Qt::PointingHandCursor);
    m_label5->installEventFilter(this);

    auto *ok = new QPushButton(QStringLiteral(u"ОК"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setGeometry(416, 384, 107, 25);
    connect(ok, &QPushButton::clicked, this, &TForm3::Button1Click);
}

bool TForm3::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_image1 && m_image1->isVisible()) {
            Image1Click();
            return true;
        }
        if (watched == m_label5) {
            Label5Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm3::Image1Click()
{
    ++m_clicks;
    if (m_clicks >= 15) {
        m_image1->hide();
        m_image2->show();
    }
}

void TForm3::Label5Click()
{
    userDialogs().openExternal(QUrl(QStringLiteral("mailto:") + supportAddress()));
}

void TForm3::Button1Click()
{
    close();
}

void TForm3::done(int result)
{
    FormClose(); // every way of closing: the button, the close box, Escape
    QDialog::done(result);
}

void TForm3::FormClose()
{
    m_image1->show();
    m_image2->hide();
    m_clicks = 0;
}
