#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

// The track chooser "Загрузка файла": instruments by alias, their tracks by
// recording date, the description and preview of the track under the cursor.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);

    // The full path of the chosen track file, or empty.
    QString ChosenPath;

    // Shows the dialog modally and returns ChosenPath.
    QString choose();

    void ComboBox1Change();
    void CheckBox1Click();
    void DateTimePicker1Change();
    void FileListBox1Click();
    void Button1Click(); // "Загрузка"
    void Button2Click(); // "Отмена"

    static QString noTracksMessage();

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override; // the frame's close box and Escape act like "Отмена"

private:
    void FormActivate();
    void setMask();
    QString currentFolder() const;

    QComboBox *ComboBox1;
    QDateEdit *DateTimePicker1;
    QCheckBox *CheckBox1;
    QListWidget *ListBox1;
    QListWidget *FileListBox1;
    QLabel *Label1;
    QLabel *Image1;
    QPushButton *Button1, *Button2;
    QTimer *Timer1;
    QString m_mask;
};
