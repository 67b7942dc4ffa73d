#pragma once

#include <QDialog>

// The track chooser, created once for the run.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
};
