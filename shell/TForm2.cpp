#include "TForm2.h"

#include "JpegCodec.h"
#include "TrackFile.h"
#include "TrackFolders.h"
#include "UserDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

TForm2::TForm2(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral(u"Загрузка файла"));
    setModal(true);
    setFixedSize(787, 530);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    setFont(tahoma);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(8, 8, 300, 22);
    DateTimePicker1 = new QDateEdit(QDate::currentDate(), this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateTimePicker1->setGeometry(8, 38, 120, 22);
    CheckBox1 = new QCheckBox(QStringLiteral(u"Показать все файлы трасс"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(140, 38, 200, 22);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->hide();
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName(QStringLiteral("FileListBox1"));
    FileListBox1->setGeometry(8, 68, 300, 454);
    Label1 = new QLabel(defaultTrackDescription(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = tahoma;
    bold.setBold(true);
    bold.setPixelSize(13);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setGeometry(318, 8, 461, 40);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setGeometry(318, 52, 461, 436);
    Button2 = new QPushButton(QStringLiteral(u"Отмена"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(578, 496, 97, 26);
    Button1 = new QPushButton(QStringLiteral(u"Загрузка"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(682, 496, 97, 26);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1->stop();
        Button2Click(); // nothing to choose: nothing is loaded
    });

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TForm2::ComboBox1Change);
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, &TForm2::ComboBox1Change);
    connect(CheckBox1, &QCheckBox::clicked, this, &TForm2::CheckBox1Click);
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TForm2::DateTimePicker1Change);
    connect(FileListBox1, &QListWidget::currentRowChanged, this, &TForm2::FileListBox1Click);
    connect(FileListBox1, &QListWidget::itemDoubleClicked, this, &TForm2::Button1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
}

QString TForm2::noTracksMessage()
{
    return QStringLiteral(u"Нет сохранённых трасс !!!");
}

QString TForm2::choose()
{
    exec();
    return ChosenPath;
}

void TForm2::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    FormActivate();
}

void TForm2::FormActivate()
{
    Timer1->stop();
    // Instruments sorted by alias, then folder, so the list does not depend on
    // the file system's order.
    struct Entry {
        QString alias, path;
    };
    std::vector<Entry> entries;
    const QDir traces(tracesFolder());
    for (const QString &name : traces.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString path = traces.filePath(name);
        entries.push_back({readAlias(path), path});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return a.alias != b.alias ? a.alias < b.alias : a.path < b.path;
    });
    const QSignalBlocker block(ComboBox1);
    ListBox1->clear();
    ComboBox1->clear();
    for (const Entry &e : entries) {
        ListBox1->addItem(e.path);
        ComboBox1->addItem(e.alias);
    }
    if (ComboBox1->count() == 0) {
        FileListBox1->clear();
        userDialogs().showMessage(noTracksMessage());
        Timer1->start();
        return;
    }
    ComboBox1->setCurrentIndex(0);
    setMask();
}

QString TForm2::currentFolder() const
{
    // Typed text that names no instrument selects no folder.
    const int i = ComboBox1->currentIndex();
    if (i < 0 || i >= ListBox1->count() || ComboBox1->currentText() != ComboBox1->itemText(i))
        return {};
    return ListBox1->item(i)->text();
}

void TForm2::setMask()
{
    m_mask = CheckBox1->isChecked() ? QStringLiteral("*.trs") : BuildDateMask(DateTimePicker1->date());
    FileListBox1->clear();
    const QString folder = currentFolder();
    if (folder.isEmpty())
        return;
    FileListBox1->addItems(QDir(folder).entryList({m_mask}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void TForm2::ComboBox1Change()
{
    setMask();
}

void TForm2::CheckBox1Click()
{
    DateTimePicker1->setEnabled(!CheckBox1->isChecked());
    setMask();
}

void TForm2::DateTimePicker1Change()
{
    setMask();
}

void TForm2::FileListBox1Click()
{
    const QListWidgetItem *item = FileListBox1->currentItem();
    const QString folder = currentFolder();
    if (!item || folder.isEmpty())
        return;
    const QString path = QDir(folder).filePath(item->text());
    Label1->setText(readTrackDescription(path));
    const QString preview = previewPicture(path);
    const QImage picture = jpeg::load(QFileInfo::exists(preview) ? preview : mediaPath(QStringLiteral("no_previev.jpg")));
    Image1->setPixmap(QPixmap::fromImage(picture).scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TForm2::Button1Click()
{
    const QListWidgetItem *item = FileListBox1->currentItem();
    const QString folder = currentFolder();
    ChosenPath = item && !folder.isEmpty() ? QDir(folder).filePath(item->text()) : QString();
    accept();
}

void TForm2::Button2Click()
{
    ChosenPath.clear();
    QDialog::reject();
}

void TForm2::reject()
{
    // Loading a track chosen at an earlier showing, unasked, is not what a
    // user expects from closing the window.
    Button2Click();
}
