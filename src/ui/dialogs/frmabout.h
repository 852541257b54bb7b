#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pellimo {

// The about box: product line with the program's version, web address, copyright, Close.
// Enter closes it (Close has the focus); Escape does not, the title-bar close box does.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *owner = nullptr);
    ~frmAbout() override;

    // The texts the box shows.
    static QString productLine(); // "Pellimo v" and the program's version
    static QString webAddress();
    static QString copyrightLine();

    void cmdClose_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *LBLCopyright = nullptr;
    QLabel *LBLProduct = nullptr;
    QPushButton *cmdClose = nullptr;
    QLineEdit *txtWebAddress = nullptr;
};

} // namespace pellimo
