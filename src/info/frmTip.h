#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

// Help > Help Topics: one button per preference and the explanation of the one last pressed.
class frmTip : public QWidget
{
    Q_OBJECT
public:
    explicit frmTip(QWidget *parent = nullptr);

    static const char *const OnLoadText;

    void Form_Load();
    void cmdDone_Click();

    QGroupBox *Frame1 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *cmdDone = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Picture1 = nullptr;
};
