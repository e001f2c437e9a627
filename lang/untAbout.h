#pragma once

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

// The About window: name, version and credits of the utility.
class TfrmAbout : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QGroupBox* gbAbout;
    QFrame* pnlAbout;
    QLabel* imgIcon;
    QLabel* lblTitle;
    QPushButton* btnOK;
    QLabel* lblVersion;
    QFrame* bvlSplitter;
    QLabel* Label1;

    void btnOKClick();

protected:
    void showEvent(QShowEvent* event) override;
};

extern TfrmAbout* frmAbout;
