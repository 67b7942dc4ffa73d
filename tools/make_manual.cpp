// Turns the manual's HTML source into Travik.pdf with Qt's own PDF writer.
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: make_manual SOURCE.html OUTPUT.pdf\n", stderr);
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString html = QString::fromUtf8(source.readAll());
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString partial = out + QStringLiteral(".part");
    {
        QPdfWriter pdf(partial);
        pdf.setTitle(QStringLiteral(u"Travik — руководство пользователя"));
        pdf.setCreator(QStringLiteral("Travik"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 18, 18, 18),
                                      QPageLayout::Millimeter));
        pdf.setResolution(300);
        QTextDocument doc;
        QFont base(QStringLiteral("DejaVu Serif"));
        base.setPointSizeF(10.5);
        doc.setDefaultFont(base);
        doc.setHtml(html);
        doc.print(&pdf);
    }
    QFile::remove(out);
    if (!QFile::rename(partial, out)) {
        std::fprintf(stderr, "make_manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
